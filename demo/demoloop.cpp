// The frame loop of the demo modes, and the clock that drawing reads while a
// demo is recorded or played.
#include <atomic>
#include <errno.h>
#include <stdio.h>
#include <string.h>
#include "demo/demo.h"
#include "game/loop.h"
#include "game/startup.h"
#include "game/options.h"
#include "demo/statehash.h"
#include "platform/input.h"
#include "core/ticks.h"
#include "world/world.h"

static int exitStatus;

// ---- the clock drawing reads ----
//
// Within a pass every reading is numbered. Recording keeps a reading only
// where it differs from the one before it; playback hands back the kept
// value at its number and repeats the last one elsewhere. The same code on
// the same state takes the same readings, so the numbers line up.

static PassInput *clockPass;    // the pass whose readings are taken, or null
static int readingNumber;
static int clockNext;           // playback: next kept reading
static Uint32 lastReading;
static Uint32 (*baseClock)(void);

static Uint32 recordingTicks()
{
    Uint32 now = baseClock();
    if (!clockPass)
        return now;
    int number = readingNumber++;
    // A full record, or a pass that reads the clock more often than a
    // reading number can say, sees the clock stand still for the rest of
    // the pass: what is drawn is always what is kept.
    if (now == lastReading || number > 0xFFFF || clockPass->clockCount >= maxPassClocks)
        return lastReading;
    clockPass->clockAt[clockPass->clockCount] = (Uint16)number;
    clockPass->clockValue[clockPass->clockCount] = now;
    clockPass->clockCount++;
    lastReading = now;
    return now;
}

static Uint32 playingTicks()
{
    if (!clockPass)
        return lastReading;
    int number = readingNumber++;
    if (clockNext < clockPass->clockCount && clockPass->clockAt[clockNext] == number)
        lastReading = clockPass->clockValue[clockNext++];
    return lastReading;
}

static void beginPassClock(PassInput *in)
{
    clockPass = in;
    readingNumber = 0;
    clockNext = 0;
    lastReading = in->ticks;
}

// ---- recording ----

static DemoWriter writer;

// Who may touch the writer. The main loop holds it only while it writes a
// pass, so the last wish of a game ended at once (a second quit signal, a
// lost display) finds it between passes, ends the demo there and keeps it;
// the main loop never touches it again. Before the recording has started
// the last wish removes the temporary file and leaves an older demo as it was.
enum { writerUnstarted, writerFree, writerWriting, writerEnded };
static std::atomic<int> writerOwner(writerUnstarted);

static bool takeWriter(int from, int to)
{
    return writerOwner.compare_exchange_strong(from, to);
}

void endRecordingAtOnce()
{
    if (demoMode != demoRecording)
        return;
    if (takeWriter(writerFree, writerEnded))
        finishRecording(closeDemoWriter(&writer) == 0);
    else if (takeWriter(writerUnstarted, writerEnded))
        finishRecording(false);
}

void recordPasses(bool (*next)(PassInput *in), Uint32 (*drawClock)(void), int delayMs)
{
    static PassInput in;
    baseClock = drawClock;
    TickSource saved = tickSource;
    tickSource = recordingTicks;
    DemoHeader h;
    memset(&h, 0, sizeof h);
    strcpy(h.gameVersion, gameVersion);
    h.seed = randomSeed;
    h.fingerprint = dataFingerprint();
    h.entryTicks = drawClock();
    // Playback starts from the same best, so its HUD is the recording's.
    h.bestScore = highScore;
    startDemoWriter(&writer, demoOut, h);
    lastTicks = h.entryTicks;
    // What the loop needs of the writer is read while the writer is its own.
    bool failedWrite = writer.failed >= 0;
    bool full = !failedWrite && demoWriterFull(&writer);
    if (!takeWriter(writerUnstarted, writerFree)) {
        tickSource = saved;
        return;
    }

    // A write that fails (a full disk, a file-size limit) ends the
    // recording, and with it the game: play that is not kept is not asked for.
    int quit = 0;
    while (!quit && !failedWrite && !full && next(&in)) {
        in.clockCount = 0;
        beginPassClock(&in);
        quit = runPass(in);
        clockPass = nullptr;
        if (!takeWriter(writerFree, writerWriting))
            break;
        writeDemoPass(&writer, in);
        failedWrite = writer.failed >= 0;
        full = !quit && !failedWrite && demoWriterFull(&writer);
        writerOwner = writerFree;
        if (delayMs > 0)
            SDL_Delay(delayMs);
    }
    tickSource = saved;
    if (!takeWriter(writerFree, writerEnded))
        return;     // a last wish has ended the recording
    // A demo longer than the player reads would be lost: the recording (and
    // with it the game) ends at the limit, with a demo that plays.
    if (full)
        fprintf(stderr, "driftwing: demo '%s': the recording stopped at the largest size a demo "
                "may have (%zu bytes)\n", demoPath, demoSizeLimit);
    char line[160];
    demoSummary(line, sizeof line, writer.passes);
    int failed = closeDemoWriter(&writer);
    demoOut = nullptr;
    int placed = finishRecording(failed == 0);
    // Nothing is left for a last wish to end; a later recording starts anew.
    writerOwner = writerUnstarted;
    if (!failed)
        failed = placed;
    if (failed) {
        fprintf(stderr, "driftwing: demo '%s': could not be written (%s)\n", demoPath, strerror(failed));
        exitStatus = 1;
        return;
    }
    // A demo written to standard output leaves it to the demo alone.
    if (recordingToStdout()) {
        fprintf(stderr, "%s\n", line);
        return;
    }
    printf("%s\n", line);
    if (!outputWritten())
        exitStatus = 1;
}

static bool livePass(PassInput *in)
{
    readLiveInput(in, SDL_GetTicks());
    return true;
}

// ---- playback ----

static long allocationsBefore;

static void checkPass(long pass)
{
    DemoChecks *c = demoChecks;
    if (!c)
        return;
    if (pass == 1 && c->countAllocations)
        allocationsBefore = c->countAllocations();
    if (c->trace && pass <= c->traceSize)
        c->trace[pass - 1] = rulesHash();
    for (int i = 0; i < c->pixelCount; i++)
        if (c->pixelPasses[i] == pass)
            c->pixelHashes[i] = pixelHash(screen);
}

// Waits until `at` ms after wallStart; false when asked to quit meanwhile.
// A recorded gap may be long (a game stopped for a while, or a crafted
// file): quit is looked for every 10 ms of it.
static bool waitForMoment(Uint32 wallStart, Uint32 at)
{
    for (;;) {
        Uint32 now = SDL_GetTicks() - wallStart;
        if (now >= at)
            return true;
        if (quitRequested())
            return false;
        Uint32 left = at - now;
        SDL_Delay(left < 10 ? left : 10);
    }
}

// The playback under way: its clock and pass count, and the pass read from
// the demo that waits for its moment.
static struct {
    TickSource saved;
    Uint32 wallStart;
    long passes;
    PassInput in;
    bool waiting;
} playback;

static void beginPlayback()
{
    playback.saved = tickSource;
    tickSource = playingTicks;
    lastTicks = demoHeader.entryTicks;
    lastReading = lastTicks;
    playback.wallStart = SDL_GetTicks();
    playback.passes = 0;
    playback.waiting = false;
}

// Reads the next pass of the demo; false at its end, or when the player
// asked to quit.
static bool readNextPass()
{
    char err[160];
    if (readDemoPass(&demoReader, &playback.in, err, sizeof err) != 1)
        return false;
    // The live queue is still read for ESC and the window's close;
    // nothing else of the keyboard reaches the game.
    return !quitRequested();
}

// When the pass read last is due, in ms from the start of playback.
static Uint32 momentOfPass()
{
    return playback.in.ticks - demoHeader.entryTicks;
}

// Plays the pass read last; false when it asked to quit.
static bool playReadPass()
{
    beginPassClock(&playback.in);
    int quit = runPass(playback.in);
    clockPass = nullptr;
    checkPass(++playback.passes);
    return !quit;
}

static void endPlayback()
{
    long passes = playback.passes;
    Uint32 wallMs = SDL_GetTicks() - playback.wallStart;
    tickSource = playback.saved;
    char line[160];
    demoSummary(line, sizeof line, passes);
    if (demoChecks) {
        if (demoChecks->countAllocations)
            demoChecks->allocations = demoChecks->countAllocations() - allocationsBefore;
        demoChecks->passes = passes;
        strcpy(demoChecks->summary, line);
    }
    if (demoMode == demoTiming) {
        double seconds = wallMs / 1000.0;
        printf("%s, %.3f s, %.1f passes/s\n", line, seconds, seconds > 0 ? passes / seconds : 0.0);
    } else {
        printf("%s\n", line);
    }
    // The summary is what the demo modes are run for.
    if (!outputWritten())
        exitStatus = 1;
}

static void playPasses()
{
    beginPlayback();
    while (readNextPass()) {
        // At the recorded pace: each pass waits for its moment.
        if (demoMode == demoPlaying && !waitForMoment(playback.wallStart, momentOfPass()))
            break;
        if (!playReadPass())
            break;
    }
    endPlayback();
}

void startDemoSteps()
{
    if (dataFingerprint() != demoHeader.fingerprint)
        fprintf(stderr, "driftwing: demo '%s' was recorded with other game data; playing anyway\n", demoPath);
    beginPlayback();
}

bool stepDemo()
{
    for (;;) {
        if (!playback.waiting) {
            if (!readNextPass())
                break;
            playback.waiting = true;
        }
        if (demoMode == demoPlaying && SDL_GetTicks() - playback.wallStart < momentOfPass())
            return true;
        playback.waiting = false;
        if (!playReadPass())
            break;
        // A timed run plays one pass a step, as fast as the steps come.
        if (demoMode == demoTiming)
            return true;
    }
    endPlayback();
    return false;
}

void runDemoLoop()
{
    if (demoMode == demoRecording) {
        recordPasses(livePass, SDL_GetTicks, 1);
        return;
    }
    if (dataFingerprint() != demoHeader.fingerprint)
        fprintf(stderr, "driftwing: demo '%s' was recorded with other game data; playing anyway\n", demoPath);
    playPasses();
}

int demoExitStatus() { return exitStatus; }
