#include "tools/assetgen/it_writer.h"
#include "tools/assetgen/assetgen.h"

#include <stdio.h>

ItCell itEmptyCell()
{
    ItCell c;
    c.note = -1;
    c.ins = 0;
    c.vol = -1;
    c.cmd = 0;
    c.param = 0;
    return c;
}

bool itCellEmpty(const ItCell &c)
{
    return c.note < 0 && c.ins == 0 && c.vol < 0 && c.cmd == 0;
}

static void patch32(std::vector<uint8_t> &b, size_t at, unsigned v)
{
    for (int i = 0; i < 4; i++)
        b[at + i] = (v >> (8 * i)) & 255;
}

// A fixed-size NUL-padded text field; the last byte always stays 0 (for the
// song name that is byte 0x1D, which one player reads as a voice limit).
static void putName(std::vector<uint8_t> &b, const std::string &s, size_t size)
{
    for (size_t i = 0; i < size; i++)
        put8(b, i + 1 < size && i < s.size() ? (uint8_t)s[i] : 0);
}

static bool fail(const char *why, int a, int b)
{
    printf("assetgen: cannot write module: %s (%d, %d)\n", why, a, b);
    return false;
}

// Volume-column bytes that every player accepts; 125-127 and 213-254 make
// libmikmod refuse the whole file.
static bool volByteValid(int v)
{
    return (v >= 0 && v <= 124) || (v >= 128 && v <= 212);
}

static bool checkCell(const ItCell &c, int samples, int row, int ch)
{
    if (c.note >= 0 && c.note > 119 && c.note != IT_NOTE_CUT && c.note != IT_NOTE_OFF)
        return fail("bad note", row, ch);
    if (c.ins < 0 || c.ins > samples)
        return fail("sample number out of range", row, ch);
    if (c.vol >= 0 && !volByteValid(c.vol))
        return fail("bad volume-column byte", row, ch);
    if (c.cmd < 0 || c.cmd > 26 || c.param < 0 || c.param > 255)
        return fail("bad command", row, ch);
    return true;
}

static bool checkModule(const ItModule &m)
{
    if (m.speed < 1 || m.speed > 32 || m.tempo < 32 || m.tempo > 255)
        return fail("speed/tempo out of range", m.speed, m.tempo);
    int nsmp = (int)m.samples.size(), npat = (int)m.patterns.size();
    if (nsmp < 1 || nsmp > 99 || npat < 1 || npat > 200)
        return fail("sample/pattern count", nsmp, npat);
    if (m.orders.empty() || m.orders.size() > 254)
        return fail("order count", (int)m.orders.size(), 0);
    for (int o : m.orders)
        if (o < 0 || o >= npat)
            return fail("order names a missing pattern", o, npat);
    for (int c = 0; c < IT_MAX_CHANNELS; c++)
        if (m.channelPan[c] < 0 || m.channelPan[c] > 64)
            return fail("channel pan", c, m.channelPan[c]);
    for (int i = 0; i < nsmp; i++) {
        const ItSample &s = m.samples[i];
        int len = (int)s.data.size();
        if (len < 1 || s.volume < 0 || s.volume > 64 || s.c5Speed < 1 || s.c5Speed > 524287)
            return fail("sample header", i + 1, len);
        if (s.loop && (s.loopBegin < 0 || s.loopBegin >= s.loopEnd || s.loopEnd > len))
            return fail("loop outside the sample", i + 1, s.loopEnd);
    }
    bool anyNote = false;
    for (int p = 0; p < npat; p++) {
        const ItPattern &pat = m.patterns[p];
        if (pat.rows < 32 || pat.rows > 200 || pat.channels < 1 || pat.channels > IT_MAX_CHANNELS
            || (int)pat.cells.size() != pat.rows * pat.channels)
            return fail("pattern shape", p, pat.rows);
        for (int r = 0; r < pat.rows; r++)
            for (int c = 0; c < pat.channels; c++) {
                const ItCell &cell = pat.cells[r * pat.channels + c];
                if (!checkCell(cell, nsmp, r, c))
                    return false;
                anyNote = anyNote || cell.note >= 0;
            }
    }
    if (!anyNote)
        return fail("no note in any pattern", 0, 0);
    return true;
}

// Every stored cell gets its own mask byte: libmikmod keeps the previous mask
// across patterns, so "reuse last" masks and bare channel bytes are avoided.
static std::vector<uint8_t> packPattern(const ItPattern &pat)
{
    std::vector<uint8_t> b;
    for (int r = 0; r < pat.rows; r++) {
        for (int ch = 0; ch < pat.channels; ch++) {
            const ItCell &c = pat.cells[r * pat.channels + ch];
            if (itCellEmpty(c))
                continue;
            int mask = (c.note >= 0 ? 1 : 0) | (c.ins > 0 ? 2 : 0) | (c.vol >= 0 ? 4 : 0)
                       | (c.cmd > 0 ? 8 : 0);
            put8(b, (ch + 1) | 0x80);
            put8(b, mask);
            if (mask & 1)
                put8(b, c.note);
            if (mask & 2)
                put8(b, c.ins);
            if (mask & 4)
                put8(b, c.vol);
            if (mask & 8) {
                put8(b, c.cmd);
                put8(b, c.param);
            }
        }
        put8(b, 0);
    }
    return b;
}

static void putHeader(std::vector<uint8_t> &b, const ItModule &m, int ordNum)
{
    b.insert(b.end(), {'I', 'M', 'P', 'M'});
    putName(b, m.name, 26);
    put8(b, 4);                          // rows per beat (editor highlight)
    put8(b, 16);                         // rows per bar
    put16(b, ordNum);
    put16(b, 0);                         // no instruments: sample mode
    put16(b, (unsigned)m.samples.size());
    put16(b, (unsigned)m.patterns.size());
    put16(b, 0x0214);                    // made with / compatible with 2.14
    put16(b, 0x0214);
    put16(b, 0x0009);                    // stereo, linear slides
    put16(b, 0x0004);                    // the highlight bytes are valid
    put8(b, 128);                        // global volume
    put8(b, 48);                         // mix volume
    put8(b, m.speed);
    put8(b, m.tempo);
    put8(b, 128);                        // full stereo separation
    put8(b, 0);                          // pitch-wheel depth
    put16(b, 0);                         // no song message
    put32(b, 0);
    put32(b, 0);
    for (int c = 0; c < IT_MAX_CHANNELS; c++)
        put8(b, m.channelPan[c]);
    for (int c = 0; c < IT_MAX_CHANNELS; c++)
        put8(b, 64);                     // channel volume
}

static void putSampleHeader(std::vector<uint8_t> &b, const ItSample &s, unsigned dataAt)
{
    b.insert(b.end(), {'I', 'M', 'P', 'S'});
    putName(b, "", 12);                  // DOS file name
    put8(b, 0);
    put8(b, 64);                         // sample global volume
    put8(b, 0x01 | 0x02 | (s.loop ? 0x10 : 0));  // data present, 16-bit, loop
    put8(b, s.volume);
    putName(b, s.name, 26);
    put8(b, 0x01);                       // signed samples
    put8(b, 0);                          // no default pan: channels pan
    put32(b, (unsigned)s.data.size());
    put32(b, s.loop ? s.loopBegin : 0);
    put32(b, s.loop ? s.loopEnd : 0);
    put32(b, s.c5Speed);
    put32(b, 0);                         // no sustain loop
    put32(b, 0);
    put32(b, dataAt);
    put32(b, 0);                         // no auto-vibrato
}

std::vector<uint8_t> writeItModule(const ItModule &m)
{
    std::vector<uint8_t> b;
    if (!checkModule(m))
        return b;
    // The order list ends with 255; one more 255 keeps its length even.
    std::vector<int> orders = m.orders;
    orders.push_back(IT_ORDER_END);
    if (orders.size() % 2)
        orders.push_back(IT_ORDER_END);
    int nsmp = (int)m.samples.size(), npat = (int)m.patterns.size();

    putHeader(b, m, (int)orders.size());
    for (int o : orders)
        put8(b, o);
    size_t samplePtrs = b.size();
    b.resize(b.size() + 4 * nsmp);
    size_t patternPtrs = b.size();
    b.resize(b.size() + 4 * npat);

    // Sample headers first; their data pointers are patched once known.
    std::vector<size_t> headerAt(nsmp);
    for (int i = 0; i < nsmp; i++) {
        headerAt[i] = b.size();
        patch32(b, samplePtrs + 4 * i, (unsigned)b.size());
        putSampleHeader(b, m.samples[i], 0);
    }
    for (int p = 0; p < npat; p++) {
        std::vector<uint8_t> packed = packPattern(m.patterns[p]);
        if (packed.size() > 65535 - 8) {
            fail("pattern too large", p, (int)packed.size());
            return std::vector<uint8_t>();
        }
        patch32(b, patternPtrs + 4 * p, (unsigned)b.size());
        put16(b, (unsigned)packed.size());
        put16(b, m.patterns[p].rows);
        put32(b, 0);
        b.insert(b.end(), packed.begin(), packed.end());
    }
    for (int i = 0; i < nsmp; i++) {
        patch32(b, headerAt[i] + 0x48, (unsigned)b.size());
        for (int16_t v : m.samples[i].data)
            put16(b, (uint16_t)v);
    }
    return b;
}
