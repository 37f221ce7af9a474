// Reading the demo file format described in demofile.h.
#include "demo/demofile.h"

#include <string.h>
#include "demo/demoformat.h"

static bool take(DemoReader *r, size_t n, const Uint8 **p)
{
    if (r->size - r->pos < n)
        return false;
    *p = r->data + r->pos;
    r->pos += n;
    return true;
}

static bool take8(DemoReader *r, Uint32 *v)
{
    const Uint8 *p;
    if (!take(r, 1, &p))
        return false;
    *v = p[0];
    return true;
}

static bool take16(DemoReader *r, Uint32 *v)
{
    const Uint8 *p;
    if (!take(r, 2, &p))
        return false;
    *v = p[0] | (p[1] << 8);
    return true;
}

static bool take32(DemoReader *r, Uint32 *v)
{
    const Uint8 *p;
    if (!take(r, 4, &p))
        return false;
    *v = p[0] | (p[1] << 8) | (p[2] << 16) | ((Uint32)p[3] << 24);
    return true;
}

// 0: ok; 1: the file ends inside it; 2: longer than 32 bits.
static int takeVarint(DemoReader *r, Uint32 *v)
{
    Uint32 value = 0;
    for (int i = 0; i < 5; i++) {
        const Uint8 *p;
        if (!take(r, 1, &p))
            return 1;
        Uint32 bits = p[0] & 0x7F;
        if (i == 4 && bits > 0x0F)
            return 2;
        value |= bits << (7 * i);
        if (!(p[0] & 0x80)) {
            *v = value;
            return 0;
        }
    }
    return 2;
}

static bool fail(char *err, size_t errSize, const char *what, long pass = -1)
{
    if (pass >= 0)
        snprintf(err, errSize, "%s at pass %ld", what, pass + 1);
    else
        snprintf(err, errSize, "%s", what);
    return false;
}

static bool readHeader(DemoReader *r, DemoHeader *h, char *err, size_t errSize)
{
    const Uint8 *p;
    if (r->size == 0)
        return fail(err, errSize, "the file is empty");
    if (!take(r, sizeof demoMagic, &p))
        return fail(err, errSize, r->size < sizeof demoMagic && memcmp(r->data, demoMagic, r->size) == 0
                    ? "truncated in the header" : "not a demo file (wrong magic)");
    if (memcmp(p, demoMagic, sizeof demoMagic) != 0)
        return fail(err, errSize, "not a demo file (wrong magic)");
    Uint32 version, length;
    if (!take16(r, &version))
        return fail(err, errSize, "truncated in the header");
    h->formatVersion = (int)version;
    if (version < (Uint32)demoOldestVersion || version > (Uint32)demoFormatVersion) {
        snprintf(err, errSize, "demo format version %u, this game reads versions %d to %d",
                 (unsigned)version, demoOldestVersion, demoFormatVersion);
        return false;
    }
    if (!take8(r, &length))
        return fail(err, errSize, "truncated in the header");
    if (length == 0 || length > (Uint32)demoVersionMax)
        return fail(err, errSize, "bad game version in the header");
    if (!take(r, length, &p))
        return fail(err, errSize, "truncated in the header");
    for (Uint32 i = 0; i < length; i++)
        if (p[i] < 0x20 || p[i] > 0x7E)
            return fail(err, errSize, "bad game version in the header");
    memcpy(h->gameVersion, p, length);
    h->gameVersion[length] = '\0';
    if (!take32(r, &h->seed) || !take32(r, &h->fingerprint) || !take32(r, &h->entryTicks))
        return fail(err, errSize, "truncated in the header");
    Uint32 best = 0;
    if (version >= 2 && !take32(r, &best))
        return fail(err, errSize, "truncated in the header");
    h->bestScore = (int)best;
    return true;
}

// A count byte of 1..max; false (with err) otherwise.
static bool takeCount(DemoReader *r, int max, int *count, const char *what,
                      char *err, size_t errSize)
{
    Uint32 n;
    if (!take8(r, &n))
        return fail(err, errSize, "truncated", r->passes);
    if (n == 0 || n > (Uint32)max) {
        char text[64];
        snprintf(text, sizeof text, "%s count %u out of range", what, (unsigned)n);
        return fail(err, errSize, text, r->passes);
    }
    *count = (int)n;
    return true;
}

static bool readVarint(DemoReader *r, Uint32 *v, char *err, size_t errSize)
{
    int rc = takeVarint(r, v);
    if (rc == 1)
        return fail(err, errSize, "truncated", r->passes);
    if (rc == 2)
        return fail(err, errSize, "number too long", r->passes);
    return true;
}

static bool readEvents(DemoReader *r, PassInput *in, char *err, size_t errSize)
{
    if (!takeCount(r, maxPassEvents, &in->eventCount, "event", err, errSize))
        return false;
    for (int i = 0; i < in->eventCount; i++) {
        Uint32 code;
        if (!take8(r, &code))
            return fail(err, errSize, "truncated", r->passes);
        if (code < 1 || code > (Uint32)passEventLast) {
            char text[48];
            snprintf(text, sizeof text, "unknown event code %u", (unsigned)code);
            return fail(err, errSize, text, r->passes);
        }
        in->events[i] = (Uint8)code;
    }
    return true;
}

static bool readClocks(DemoReader *r, PassInput *in, char *err, size_t errSize)
{
    if (!takeCount(r, maxPassClocks, &in->clockCount, "clock reading", err, errSize))
        return false;
    Uint32 index = 0, value = in->ticks;
    for (int i = 0; i < in->clockCount; i++) {
        Uint32 gap, delta;
        if (!readVarint(r, &gap, err, errSize) || !readVarint(r, &delta, err, errSize))
            return false;
        index += gap + (i > 0 ? 1 : 0);
        if (gap > 0xFFFF || index > 0xFFFF)
            return fail(err, errSize, "clock reading index out of range", r->passes);
        value += delta;
        in->clockAt[i] = (Uint16)index;
        in->clockValue[i] = value;
    }
    return true;
}

int readDemoPass(DemoReader *r, PassInput *in, char *err, size_t errSize)
{
    Uint32 flags;
    if (!take8(r, &flags))
        return fail(err, errSize, "truncated (no end marker)", r->passes) ? 0 : -1;
    if (flags & 0x80) {
        Uint32 count;
        if (flags != trailerByte)
            return fail(err, errSize, "bad pass flags", r->passes) ? 0 : -1;
        if (!take32(r, &count))
            return fail(err, errSize, "truncated in the end marker") ? 0 : -1;
        if (count != (Uint32)r->passes) {
            snprintf(err, errSize, "end marker counts %u passes, the file holds %ld",
                     (unsigned)count, r->passes);
            return -1;
        }
        if (r->pos != r->size)
            return fail(err, errSize, "data after the end marker") ? 0 : -1;
        r->totalPasses = r->passes;
        return 0;
    }
    Uint32 delta = flags & 0x0F;
    if (delta == (Uint32)deltaInline && !readVarint(r, &delta, err, errSize))
        return -1;
    // The frame pass takes the time between passes as a signed 32-bit
    // difference: 2^31 ms or more would run the world clock backwards.
    if (delta >= 0x80000000u)
        return fail(err, errSize, "tick delta out of range", r->passes) ? 0 : -1;
    in->ticks = r->ticks + delta;
    in->eventCount = 0;
    in->clockCount = 0;
    if (flags & flagHeld) {
        Uint32 held;
        if (!readVarint(r, &held, err, errSize))
            return -1;
        if (held >= (1u << heldKeyBits))
            return fail(err, errSize, "held keys out of range", r->passes) ? 0 : -1;
        r->held = (Uint16)held;
    }
    in->held = r->held;
    if ((flags & flagEvents) && !readEvents(r, in, err, errSize))
        return -1;
    if ((flags & flagClocks) && !readClocks(r, in, err, errSize))
        return -1;
    r->ticks = in->ticks;
    r->passes++;
    return 1;
}

bool openDemoBuffer(DemoReader *r, DemoHeader *h, const Uint8 *data, size_t size,
                    char *err, size_t errSize)
{
    memset(r, 0, sizeof *r);
    memset(h, 0, sizeof *h);
    r->data = data;
    r->size = size;
    r->totalPasses = -1;
    if (!readHeader(r, h, err, errSize))
        return false;
    size_t start = r->pos;
    // Check the whole file now, so that playback never meets a bad pass.
    static PassInput in;
    r->ticks = h->entryTicks;
    int rc;
    while ((rc = readDemoPass(r, &in, err, errSize)) == 1)
        ;
    if (rc < 0)
        return false;
    long total = r->totalPasses;
    r->pos = start;
    r->ticks = h->entryTicks;
    r->held = 0;
    r->passes = 0;
    r->totalPasses = total;
    return true;
}
