// Inside the platform layer: the pad's buttons where a library numbers them
// only (SDL 1.2), and the hold on Back that leaves the game, the same on
// every SDL.
#ifndef PLATFORM_PADBUTTONS_H
#define PLATFORM_PADBUTTONS_H

#include <SDL.h>

// Which numbered buttons fire, start (pause, or a new game after game over)
// and go back (held, quits while paused or over). Never two roles on one.
struct PadButtons {
    int fire, start, back;
};

// The layout of a pad by what it is: XInput pads (Xbox and the many that
// copy them, 11 buttons under Linux) have Back 6 and Start 7; PlayStation
// pads and most other pads of 10 buttons or more have Select 8 and Start 9.
// Fire is button 0 on all. name may be null (no pad known).
PadButtons padButtonsFor(const char *name, int buttonCount);

// The player's own buttons over a layout, from a setting such as
// "fire=0,start=9,back=8" (any of the three, in any order, numbers 0 to 99).
// False, with *layout unchanged, when the setting cannot be read or puts two
// roles on one button.
bool applyPadSetting(PadButtons *layout, const char *setting);

// How long Back must be held, while the game is paused or over, to quit.
const Uint32 backHoldMs = 1000;

// Called once a pass with whether Back is held now and the pass's tick:
// true once it has been held for backHoldMs while padBackQuits (input.h)
// was set all along.
bool backHoldQuits(bool held, Uint32 ticks);

#endif
