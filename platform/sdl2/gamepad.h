// Inside the SDL 2 implementation: the game controller, read through SDL's
// controller API and its mapping database, so buttons and sticks have names
// whatever the pad. The live input asks it about each event.
#ifndef PLATFORM_SDL2_GAMEPAD_H
#define PLATFORM_SDL2_GAMEPAD_H

#include <SDL.h>
#include "core/passinput.h"

// Takes a controller event: pads arriving and leaving, the directions into
// the held state and the buttons into pass events. False for any other event.
bool gamepadEvent(PassInput *in, const SDL_Event &event);

// The directions the pad holds now, as held-key bits.
Uint16 gamepadHeld();

// Whether the pad's Back button is held down now.
bool gamepadBackHeld();

#endif
