// What one pass of the frame loop reads from outside: the tick reading, the
// queued events it acts on and the held state of the keys it looks at. Live
// play fills it from SDL; a demo fills it from a file. The rules code sees
// only this record, so it cannot tell the two apart.
#ifndef GAME_INPUT_H
#define GAME_INPUT_H

#include <SDL/SDL.h>

// Queued events, in arrival order.
enum PassEvent {
    passQuit = 1,       // the window's close request
    passEscape,         // ESC
    passFire,           // SPACE
    passPause,          // P: toggles the pause
    passRestart,        // ENTER
    passFocusPause,     // the window lost input focus: pauses, never resumes
    passStart,          // a gamepad's Start: ENTER after game over, else P
    passEventLast = passStart
};

// Held keys, one bit each.
enum HeldKey {
    heldUp = 1 << 0,
    heldDown = 1 << 1,
    heldLeft = 1 << 2,
    heldRight = 1 << 3,
    heldG = 1 << 4,
    heldS = 1 << 5,
    heldLShift = 1 << 6,
    heldRShift = 1 << 7,
    heldLAlt = 1 << 8
};
const int heldKeyBits = 9;

// A pass that has this many events leaves the rest queued for the next one.
const int maxPassEvents = 64;

// Clock readings that drawing takes in a pass (sprite animation) are kept
// only where one differs from the reading before it, the first compared with
// the pass's tick: reading number clockAt[i] of the pass gave clockValue[i].
// Live play leaves them empty; the demo layer fills them.
const int maxPassClocks = 64;

struct PassInput {
    Uint32 ticks;                   // the clock reading of the pass
    Uint16 held;                    // HeldKey bits
    int eventCount;
    Uint8 events[maxPassEvents];    // PassEvent codes
    int clockCount;
    Uint16 clockAt[maxPassClocks];
    Uint32 clockValue[maxPassClocks];
};

// The gamepad: the first pad steers with its first two axes (beyond the dead
// zone) and its first hat, button 0 fires, Start pauses or starts a new game.
// Start is button 7 on XInput-style pads and 9 on many others.
const int padDeadZone = 8000;
const int padFireButton = 0;
const int padStartButton = 7;
const int padStartButtonAlt = 9;

// Opens the first pad SDL finds, if any, and turns on its events. Without a
// pad nothing changes.
void openGamepad();

// Adds one event; false when the pass is full.
bool addPassEvent(PassInput *in, int event);

// Fills in from SDL at the tick reading ticks: polls the queued events and
// reads the held keys, with the gamepad's directions added to them.
void readLiveInput(PassInput *in, Uint32 ticks);

#endif
