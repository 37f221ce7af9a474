// Live input: the platform's event queue, key state and gamepad turned into
// the game's pass record. Presentation keys (F11, Alt+Enter) are handled here
// and never reach the record, so a demo plays the same in a window or full
// screen.
#ifndef PLATFORM_INPUT_H
#define PLATFORM_INPUT_H

#include "core/passinput.h"

// The gamepad: the first pad steers with its stick (beyond the dead zone) and
// its D-pad, fires with A and pauses or starts a new game with Start; Back
// (Select) held for a second while the game is paused or over quits. On SDL
// 1.2 those are the first two axes, the first hat and buttons by number,
// chosen by what the pad is and open to the player's own numbers in
// DRIFTWING_PAD_BUTTONS (platform/padbuttons.h); on SDL 2 they are the
// controller's named left stick, D-pad, A, Start and Back. A pad taken up or
// let go is said in one line on standard output, with its name.
const int padDeadZone = 8000;

// Set by the game while it is paused or over: only then does holding Back
// quit, so it cannot be hit by accident in play.
extern int padBackQuits;

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
