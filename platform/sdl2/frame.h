// Shared inside the SDL 2 implementation: the pixel layout of the surface the
// game draws into, which is what "the display's format" means on SDL 2.
#ifndef PLATFORM_SDL2_FRAME_H
#define PLATFORM_SDL2_FRAME_H

#include <SDL.h>

// 32 bits, red in the high byte, no alpha: the layout of the SDL 1.2 build's
// video surface, so that pictures convert the same on both builds.
const Uint32 framePixelFormat = SDL_PIXELFORMAT_RGB888;

// The surface the game draws into, once openDisplay has made it; else null.
SDL_Surface *frameSurface();

#endif
