// What one pass of the frame loop reads from outside: the tick reading, the
// queued events it acts on and the held state of the keys it looks at. Live
// play fills it from SDL; a demo fills it from a file. The rules code sees
// only this record, so it cannot tell the two apart.
#ifndef CORE_PASSINPUT_H
#define CORE_PASSINPUT_H

#include <SDL.h>

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

// Adds one event; false when the pass is full.
inline bool addPassEvent(PassInput *in, int event)
{
    if (in->eventCount >= maxPassEvents)
        return false;
    in->events[in->eventCount++] = (Uint8)event;
    return true;
}

#endif
