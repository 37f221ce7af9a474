// Writing the demo file format described in demofile.h.
#include "demo/demofile.h"

#include <errno.h>
#include <string.h>
#include "demo/demoformat.h"

static void put8(Uint8 *b, size_t *n, Uint32 v) { b[(*n)++] = (Uint8)v; }

static void put32(Uint8 *b, size_t *n, Uint32 v)
{
    for (int i = 0; i < 4; i++)
        put8(b, n, v >> (8 * i));
}

static void putVarint(Uint8 *b, size_t *n, Uint32 v)
{
    while (v >= 0x80) {
        put8(b, n, (v & 0x7F) | 0x80);
        v >>= 7;
    }
    put8(b, n, v);
}

static void flush(DemoWriter *w)
{
    if (w->used == 0)
        return;
    if (w->failed < 0 && w->file && fwrite(w->buf, 1, w->used, w->file) != w->used)
        w->failed = errno ? errno : EIO;
    w->used = 0;
}

// Room for the largest pass: flags, tick delta, held keys, 64 events and 64
// clock readings of two varints each.
static const size_t maxPassBytes = 1 + 5 + 5 + 1 + maxPassEvents + 1 + maxPassClocks * 10;
static const size_t trailerBytes = 5;

size_t demoSizeLimit = demoMaxBytes;

bool demoWriterFull(const DemoWriter *w)
{
    return (size_t)w->bytes + maxPassBytes + trailerBytes > demoSizeLimit;
}

void startDemoWriter(DemoWriter *w, FILE *file, const DemoHeader &h)
{
    w->file = file;
    w->used = 0;
    w->ticks = h.entryTicks;
    w->held = 0;
    w->passes = 0;
    w->bytes = 0;
    w->failed = -1;
    // The writer keeps its own buffer; the stream needs none.
    if (file)
        setvbuf(file, NULL, _IONBF, 0);
    memcpy(w->buf, demoMagic, sizeof demoMagic);
    w->used = sizeof demoMagic;
    put8(w->buf, &w->used, demoFormatVersion & 0xFF);
    put8(w->buf, &w->used, demoFormatVersion >> 8);
    size_t length = strnlen(h.gameVersion, demoVersionMax);
    put8(w->buf, &w->used, (Uint32)length);
    memcpy(w->buf + w->used, h.gameVersion, length);
    w->used += length;
    put32(w->buf, &w->used, h.seed);
    put32(w->buf, &w->used, h.fingerprint);
    put32(w->buf, &w->used, h.entryTicks);
    put32(w->buf, &w->used, (Uint32)h.bestScore);
    w->bytes = (long)w->used;
    // Out at once: a file that cannot be written fails now, not minutes
    // into the game.
    flush(w);
}

void writeDemoPass(DemoWriter *w, const PassInput &in)
{
    if (sizeof w->buf - w->used < maxPassBytes)
        flush(w);
    size_t start = w->used;
    Uint8 *b = w->buf;
    size_t n = start + 1;
    Uint32 delta = in.ticks - w->ticks;
    Uint8 flags = delta < (Uint32)deltaInline ? (Uint8)delta : (Uint8)deltaInline;
    if (delta >= (Uint32)deltaInline)
        putVarint(b, &n, delta);
    Uint16 held = in.held & ((1u << heldKeyBits) - 1);
    if (held != w->held) {
        flags |= flagHeld;
        putVarint(b, &n, held);
        w->held = held;
    }
    int events = in.eventCount < maxPassEvents ? in.eventCount : maxPassEvents;
    if (events > 0) {
        flags |= flagEvents;
        put8(b, &n, events);
        for (int i = 0; i < events; i++)
            put8(b, &n, in.events[i]);
    }
    int clocks = in.clockCount < maxPassClocks ? in.clockCount : maxPassClocks;
    if (clocks > 0) {
        flags |= flagClocks;
        put8(b, &n, clocks);
        Uint32 index = 0, value = in.ticks;
        for (int i = 0; i < clocks; i++) {
            putVarint(b, &n, in.clockAt[i] - index - (i > 0 ? 1 : 0));
            putVarint(b, &n, in.clockValue[i] - value);
            index = in.clockAt[i];
            value = in.clockValue[i];
        }
    }
    b[start] = flags;
    w->used = n;
    w->bytes += (long)(n - start);
    w->ticks = in.ticks;
    w->passes++;
}

int closeDemoWriter(DemoWriter *w)
{
    if (sizeof w->buf - w->used < 5)
        flush(w);
    put8(w->buf, &w->used, trailerByte);
    put32(w->buf, &w->used, (Uint32)w->passes);
    w->bytes += 5;
    flush(w);
    if (w->file) {
        if (fclose(w->file) != 0 && w->failed < 0)
            w->failed = errno ? errno : EIO;
        w->file = nullptr;
    }
    return w->failed < 0 ? 0 : w->failed;
}
