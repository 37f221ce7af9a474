// The soundtrack module read back byte by byte as a player would, the
// module writer refusing values the players reject, and the synthesized
// instruments sounding at the pitch of the notes they are given.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <string.h>
#include "tests/sound_helpers.h"
#include "tools/assetgen/it_writer.h"
#include "tools/assetgen/music.h"

static bool failWith(std::string *why, const char *message)
{
    *why = message;
    return false;
}

// Walks one packed pattern the way a player does; returns false with a
// message on the first byte a player would misread.
static bool walkPattern(const std::vector<uint8_t> &b, size_t at, unsigned samples,
                        int *notes, std::string *why)
{
    unsigned length = u16(b, at), rows = u16(b, at + 2);
    if (rows < 32 || rows > 200)
        return failWith(why, "rows out of range");
    if (at + 8 + length > b.size())
        return failWith(why, "pattern runs past the file");
    size_t p = at + 8, end = at + 8 + length;
    unsigned rowEnds = 0;
    while (p < end) {
        uint8_t chan = b[p++];
        if (chan == 0) {
            rowEnds++;
            continue;
        }
        if (!(chan & 0x80) || p >= end)
            return failWith(why, "channel byte without a mask");
        uint8_t mask = b[p++];
        if (mask & 0xF0)
            return failWith(why, "reuse-last mask bits");
        size_t need = (mask & 1) + ((mask >> 1) & 1) + ((mask >> 2) & 1) + ((mask & 8) ? 2 : 0);
        if (p + need > end)
            return failWith(why, "cell runs past the packed length");
        if (mask & 1) {
            uint8_t note = b[p++];
            if (note > 119 && note != 254 && note != 255)
                return failWith(why, "bad note");
            (*notes)++;
        }
        if (mask & 2) {
            uint8_t sample = b[p++];
            if (sample < 1 || sample > samples)
                return failWith(why, "sample number out of range");
        }
        if (mask & 4) {
            uint8_t v = b[p++];
            if ((v >= 125 && v <= 127) || v >= 213)
                return failWith(why, "bad volume-column byte");
        }
        if (mask & 8) {
            if (b[p] > 26)
                return failWith(why, "bad command");
            p += 2;
        }
    }
    if (rowEnds != rows)
        return failWith(why, "row terminators do not match the row count");
    if (p != end || b[end - 1] != 0)
        return failWith(why, "packed length does not end on the last row");
    return true;
}

TEST(ItModule, SoundtrackFileIsWellFormed)
{
    std::vector<uint8_t> b = readAll(soundDir() + "/tnt22.it");
    ASSERT_GT(b.size(), 0xC0u);
    EXPECT_EQ(memcmp(&b[0], "IMPM", 4), 0);
    EXPECT_EQ(b[0x1D], 0);
    unsigned ordNum = u16(b, 0x20), insNum = u16(b, 0x22);
    unsigned smpNum = u16(b, 0x24), patNum = u16(b, 0x26);
    EXPECT_EQ(insNum, 0u);
    EXPECT_EQ(u16(b, 0x28), 0x0214u);
    EXPECT_EQ(u16(b, 0x2A), 0x0214u);
    EXPECT_EQ(u16(b, 0x2C), 0x0009u);
    EXPECT_EQ(u16(b, 0x2E), 0x0004u);
    EXPECT_EQ(b[0x30], 128);
    EXPECT_EQ(b[0x31], 48);
    EXPECT_TRUE(b[0x32] >= 1 && b[0x32] <= 32);
    EXPECT_GE(b[0x33], 32);
    for (int c = 0; c < 64; c++) {
        EXPECT_LE(b[0x40 + c], 64) << c;
        EXPECT_EQ(b[0x80 + c], 64) << c;
    }
    // bass, lead and the drums at least, and a multi-section song
    ASSERT_GE(smpNum, 5u);
    ASSERT_LE(smpNum, 99u);
    ASSERT_GE(patNum, 4u);
    ASSERT_LE(patNum, 200u);

    // the order list plays real patterns and ends with 255, nothing jumps back
    size_t ord = 0xC0;
    unsigned played = 0;
    while (played < ordNum && b[ord + played] != 255) {
        EXPECT_LT(b[ord + played], patNum);
        played++;
    }
    EXPECT_GE(played, 4u);
    ASSERT_LT(played, ordNum);

    size_t smpTable = ord + ordNum + 4 * insNum, patTable = smpTable + 4 * smpNum;
    for (unsigned i = 0; i < smpNum; i++) {
        SCOPED_TRACE("sample " + std::to_string(i + 1));
        size_t h = u32(b, smpTable + 4 * i);
        ASSERT_LE(h + 80, b.size());
        EXPECT_EQ(memcmp(&b[h], "IMPS", 4), 0);
        uint8_t flags = b[h + 0x12];
        EXPECT_TRUE(flags & 1);
        EXPECT_EQ(flags & 0x0C, 0);                      // mono, not compressed
        EXPECT_EQ(b[h + 0x11], 64);
        EXPECT_LE(b[h + 0x13], 64);
        EXPECT_EQ(b[h + 0x2E], 0x01);
        unsigned len = u32(b, h + 0x30), begin = u32(b, h + 0x34), end = u32(b, h + 0x38);
        unsigned c5 = u32(b, h + 0x3C), data = u32(b, h + 0x48);
        EXPECT_TRUE(c5 > 0 && c5 <= 524287);
        unsigned bytes = len * ((flags & 2) ? 2 : 1);
        ASSERT_LE(data + bytes, b.size());
        if (flags & 0x10) {
            ASSERT_LT(begin, end);
            ASSERT_LE(end, len);
            ASSERT_TRUE(flags & 2);
            // A seamless loop: the step from the last frame back to the
            // first is in line with the steps on either side of the seam.
            auto at = [&](unsigned f) { return s16(b, data + 2 * f); };
            int local = std::max(abs(at(end - 1) - at(end - 2)), abs(at(begin + 1) - at(begin)));
            EXPECT_LE(abs(at(begin) - at(end - 1)), 2 * local + 64);
        }
    }
    int notes = 0;
    for (unsigned p = 0; p < patNum; p++) {
        size_t at = u32(b, patTable + 4 * p);
        ASSERT_NE(at, 0u);
        std::string why;
        EXPECT_TRUE(walkPattern(b, at, smpNum, &notes, &why)) << "pattern " << p << ": " << why;
    }
    EXPECT_GT(notes, 500);
}

static ItModule oneNoteModule(const std::vector<ItSample> &samples, int sample, int note)
{
    ItModule m;
    m.name = "test";
    m.speed = 6;
    m.tempo = 125;
    for (int c = 0; c < IT_MAX_CHANNELS; c++)
        m.channelPan[c] = 32;
    m.samples = samples;
    ItPattern p;
    p.rows = 32;
    p.channels = 1;
    p.cells.assign(32, itEmptyCell());
    p.cells[0].note = note;
    p.cells[0].ins = sample;
    p.cells[0].vol = 64;
    m.patterns.push_back(p);
    m.orders.push_back(0);
    return m;
}

TEST(ItModule, WriterRefusesWhatPlayersReject)
{
    ItSample s;
    s.name = "saw";
    s.volume = 64;
    s.c5Speed = 8363;
    s.loop = true;
    s.loopBegin = 0;
    s.loopEnd = 64;
    for (int i = 0; i < 64; i++)
        s.data.push_back((int16_t)(i * 512 - 16384));
    ItModule good = oneNoteModule({s}, 1, 60);
    std::vector<uint8_t> bytes = writeItModule(good);
    ASSERT_FALSE(bytes.empty());
    std::string dir = makeTempDir(), path = dir + "/one.it";
    ASSERT_TRUE(writeFile(path, bytes));
    EXPECT_GT(rms(renderXmp(path, 0.5, nullptr), 0, 44100), 1000);
    remove(path.c_str());
    rmdir(dir.c_str());

    ItModule m = good;
    m.samples[0].loopEnd = 65;
    EXPECT_TRUE(writeItModule(m).empty()) << "loop past the end";
    m = good;
    m.samples[0].loopBegin = 64;
    EXPECT_TRUE(writeItModule(m).empty()) << "empty loop";
    m = good;
    m.samples[0].c5Speed = 0;
    EXPECT_TRUE(writeItModule(m).empty()) << "C5 speed 0";
    m = good;
    m.patterns[0].rows = 201;
    m.patterns[0].cells.resize(201, itEmptyCell());
    EXPECT_TRUE(writeItModule(m).empty()) << "201 rows";
    m = good;
    m.patterns[0].cells[1].ins = 2;
    EXPECT_TRUE(writeItModule(m).empty()) << "sample 2 of 1";
    m = good;
    m.patterns[0].cells[1].vol = 213;
    EXPECT_TRUE(writeItModule(m).empty()) << "volume byte 213";
    m = good;
    m.orders.push_back(1);
    EXPECT_TRUE(writeItModule(m).empty()) << "order names pattern 1 of 1";
    m = good;
    m.patterns[0].cells[0] = itEmptyCell();
    EXPECT_TRUE(writeItModule(m).empty()) << "no note anywhere";
}

// Pitch of a held note from the zero crossings of its low-passed left channel.
static double measuredHz(const std::vector<int16_t> &pcm, double expectHz)
{
    double a = 1 - exp(-2 * M_PI * expectHz * 0.7 / 44100), y1 = 0, y2 = 0, prev = 0;
    long first = -1, last = -1, crossings = 0;
    for (size_t i = 0; i + 1 < pcm.size(); i += 2) {
        y1 += a * (pcm[i] - y1);
        y2 += a * (y1 - y2);
        long frame = (long)i / 2;
        if (frame > 4410 && prev < 0 && y2 >= 0) {
            if (first < 0)
                first = frame;
            last = frame;
            crossings++;
        }
        prev = y2;
    }
    return crossings > 1 ? (crossings - 1) * 44100.0 / (last - first) : 0;
}

// The tonal samples are tuned through their C5 speed: a held note must sound
// at its pitch (A-4 = 440 Hz) in a real player.
TEST(ItModule, TunedSamplesPlayAtTheirNotes)
{
    std::vector<ItSample> samples = makeInstrumentSamples();
    ASSERT_EQ(samples.size(), (size_t)SMP_COUNT);
    struct { int sample, note; double hz; } cases[] = {
        {SMP_BASS, 33, 110.0}, {SMP_BASS, 40, 164.81}, {SMP_LEAD, 57, 440.0},
        {SMP_LEAD, 64, 659.26}, {SMP_PAD, 57, 440.0}};
    std::string dir = makeTempDir();
    for (auto &c : cases) {
        SCOPED_TRACE("sample " + std::to_string(c.sample) + " note " + std::to_string(c.note));
        std::string path = dir + "/tone.it";
        ASSERT_TRUE(writeFile(path, writeItModule(oneNoteModule(samples, c.sample, c.note))));
        EXPECT_NEAR(measuredHz(renderXmp(path, 1.0, nullptr), c.hz), c.hz, c.hz * 0.01);
        remove(path.c_str());
    }
    rmdir(dir.c_str());
}
