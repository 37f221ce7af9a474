// Demos: a game recorded as the input of every pass, played back through the
// very same pass code. --record writes one as the game goes, --play shows one
// at its recorded pace, --timedemo plays one as fast as the machine draws.
#ifndef DEMO_DEMO_H
#define DEMO_DEMO_H

#include "core/version.h"

#include <SDL.h>
#include "core/passinput.h"
#include "demo/demofile.h"

enum DemoMode { demoOff, demoRecording, demoPlaying, demoTiming };
extern int demoMode;


inline bool demoActive() { return demoMode != demoOff; }

// Before start-up: opens the demo the options name. A demo to play is read
// and checked whole, and its seed imposed on start-up. Returns -1 to go on,
// or 2 after one line on standard error naming the file and the fault.
int openDemo();

// Opens demoOut for a recording into demoPath: a temporary file beside it
// (with the bits of the demo it replaces), or a device or FIFO as it is.
// 0 or the errno of the failure.
int createRecording();
// After the recording is closed: puts the temporary file in place when keep
// is set, else removes it. 0 or the errno of the rename.
int finishRecording(bool keep);

// Whether the demo being recorded goes where standard output goes; the
// summary line then goes to standard error.
bool recordingToStdout();

// Ends a recording at once, from any thread, while the main loop may be
// stuck: what was recorded up to the last whole pass is kept as a demo that
// plays, or before the first pass the temporary file is removed. The main
// loop stops recording after it.
void endRecordingAtOnce();

// The frame loop of the demo modes (runFrameLoop hands over to it). Prints
// the summary line at the end.
void runDemoLoop();

// Playback one step at a time, for a loop that cannot wait (a web page):
// startDemoSteps begins it; each stepDemo plays the passes that are due by
// now (--play) or the next one (--timedemo), and returns false once the
// demo has ended and its summary line is printed. Recording has no steps.
void startDemoSteps();
bool stepDemo();

// Records passes from any source through the real writer: live play uses
// SDL's queue and clock; a script may feed its own. next fills the input of
// the next pass (false: stop); drawClock is the clock that drawing reads.
// delayMs is the rest after each pass. Stops after a pass that quits.
void recordPasses(bool (*next)(PassInput *in), Uint32 (*drawClock)(void), int delayMs);

// The exit status main returns: 0, or 1 when the demo or the summary line
// could not be written.
int demoExitStatus();

// A fingerprint of the data that affects play: each sprite set's frame count,
// frame sizes and display times.
Uint32 dataFingerprint();

// "passes N, score S, lives L, game over G, clock C ms, state HHHHHHHH".
void demoSummary(char *out, size_t size, long passes);

// What playback checks as it goes (tests and the maintainer's tools fill it):
// the rules hash after every pass, and the pixel hash of chosen passes.
struct DemoChecks {
    Uint32 *trace;          // traceSize entries, or null
    long traceSize;
    const long *pixelPasses;   // pass numbers, counted from 1
    Uint32 *pixelHashes;
    int pixelCount;
    long passes;            // passes played
    char summary[160];
    // Heap allocations from the end of the first pass to the end of the
    // demo, when a counter is given. The first pass starts the music, whose
    // player takes its buffers then, once.
    long (*countAllocations)();
    long allocations;
};
extern DemoChecks *demoChecks;

// The demo of this run: its file's path (made absolute when the game root is
// chosen), the one being played, kept whole in memory, and the stream one is
// recorded into.
extern const char *demoPath;
extern DemoReader demoReader;
extern DemoHeader demoHeader;
extern FILE *demoOut;

#endif
