// Live input: the platform's event queue, key state and gamepad turned into
// the game's pass record. Presentation keys (F11, Alt+Enter) are handled here
// and never reach the record, so a demo plays the same in a window or full
// screen.
#ifndef PLATFORM_INPUT_H
#define PLATFORM_INPUT_H

#include "core/passinput.h"

// The gamepad: the first pad steers with its stick (beyond the dead zone) and
// its D-pad, fires with A and pauses or starts a new game with Start. On SDL
// 1.2 those are the first two axes, the first hat and buttons by number
// (Start is button 7 on XInput-style pads and 9 on many others); on SDL 2
// they are the controller's named left stick, D-pad, A and Start.
const int padDeadZone = 8000;
const int padFireButton = 0;
const int padStartButton = 7;
const int padStartButtonAlt = 9;

// Whether losing the input focus pauses the game (--no-autopause clears it).
extern int focusPauses;

// Opens the first pad the system has, if any, and turns on its events.
// Without a pad nothing changes. On SDL 2 a pad plugged in later is taken up
// and one pulled out is let go, without pausing the game.
void openGamepad();

// Fills in at the tick reading ticks: the queued events and the held keys,
// with the gamepad's directions added to them. A quit signal becomes a quit.
void readLiveInput(PassInput *in, Uint32 ticks);

// Drains the queue and says whether it held ESC or the window's close
// request, or a quit signal came; the demo modes watch only these.
bool quitRequested();

#endif
