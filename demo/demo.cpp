// Opening demos, the data fingerprint and the summary line.
#include "demo/demo.h"

#include <errno.h>
#include <stdio.h>
#include <string.h>
#include "game/options.h"
#include "game/startup.h"
#include "demo/statehash.h"
#include "world/world.h"

int demoMode = demoOff;
DemoChecks *demoChecks;

// The demo being played, kept whole in memory for the run.
DemoReader demoReader;
DemoHeader demoHeader;
FILE *demoOut;
const char *demoPath;

static int badDemo(const char *what)
{
    fprintf(stderr, "driftwing: demo '%s': %s\n", demoPath, what);
    return 2;
}

static int readWhole(Uint8 **data, size_t *size)
{
    FILE *f = fopen(demoPath, "rb");
    char text[160];
    if (!f) {
        snprintf(text, sizeof text, "cannot open (%s)", strerror(errno));
        return badDemo(text);
    }
    // Read up to one byte past the limit, to tell a demo of the largest
    // size from a longer file.
    size_t cap = 4096, used = 0;
    Uint8 *buf = new Uint8[cap];
    for (;;) {
        size_t got = fread(buf + used, 1, cap - used, f);
        used += got;
        if (used > demoSizeLimit) {
            fclose(f);
            delete[] buf;
            return badDemo("too large to be a demo");
        }
        if (got == 0)
            break;
        if (used == cap) {
            size_t grown = cap * 2 < demoSizeLimit + 1 ? cap * 2 : demoSizeLimit + 1;
            Uint8 *bigger = new Uint8[grown];
            memcpy(bigger, buf, used);
            delete[] buf;
            buf = bigger;
            cap = grown;
        }
    }
    int failed = ferror(f) ? errno : 0;
    fclose(f);
    if (failed) {
        delete[] buf;
        snprintf(text, sizeof text, "cannot read (%s)", strerror(failed));
        return badDemo(text);
    }
    *data = buf;
    *size = used;
    return -1;
}

int openDemo()
{
    if (options.recordFile) {
        demoPath = options.recordFile;
        int err = createRecording();
        if (err) {
            char text[160];
            snprintf(text, sizeof text, "cannot create (%s)", strerror(err));
            return badDemo(text);
        }
        // A recorded game is a normal game: it reads and saves the best.
        demoMode = demoRecording;
        return -1;
    }
    demoPath = options.playFile ? options.playFile : options.timedemoFile;
    if (!demoPath)
        return -1;
    Uint8 *data = nullptr;
    size_t size = 0;
    int status = readWhole(&data, &size);
    if (status >= 0)
        return status;
    char err[160];
    if (!openDemoBuffer(&demoReader, &demoHeader, data, size, err, sizeof err)) {
        delete[] data;
        return badDemo(err);
    }
    if (strcmp(demoHeader.gameVersion, gameVersion) != 0)
        fprintf(stderr, "driftwing: demo '%s' was recorded by version %s, this is %s; playing anyway\n",
                demoPath, demoHeader.gameVersion, gameVersion);
    randomSeed = demoHeader.seed;
    randomSeedFixed = 1;
    demoMode = options.playFile ? demoPlaying : demoTiming;
    // Playing a demo never touches the player's file: the HUD's best is
    // the one the recorded game started with.
    bestScoreKept = 0;
    highScore = demoHeader.bestScore;
    timedRun = demoMode == demoTiming;
    return -1;
}

static Uint32 mixSet(Uint32 h, const SpriteSet &set)
{
    int head[] = { set.loaded, set.frameCount, set.frameWidth, set.frameHeight };
    h = fnvBytes(h, head, sizeof head);
    for (int i = 0; set.frames && i < set.frameCount; i++) {
        const SpriteFrame &f = set.frames[i];
        int frame[] = { f.surface ? f.surface->w : 0, f.surface ? f.surface->h : 0, f.delay };
        h = fnvBytes(h, frame, sizeof frame);
    }
    return h;
}

Uint32 dataFingerprint()
{
    Uint32 h = fnvStart;
    h = mixSet(h, shipSet);
    h = mixSet(h, bulletSet);
    h = mixSet(h, enemySet);
    return mixSet(h, cloudSet);
}

void demoSummary(char *out, size_t size, long passes)
{
    snprintf(out, size, "passes %ld, score %d, lives %d, game over %d, clock %llu ms, state %08x",
             passes, score, lives, gameOver, (unsigned long long)clockStamp(), (unsigned)rulesHash());
}
