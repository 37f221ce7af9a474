// Surfaces in the display's pixel format. Loaders and sprites draw on SDL
// surfaces everywhere; only making a surface match the display, and the
// flag that turns on a colour key, differ between SDL versions.
#ifndef PLATFORM_SURFACE_H
#define PLATFORM_SURFACE_H

#include <SDL.h>

// Whether a video mode is set, so that there is a display format at all.
bool displayReady();

// A new surface with s's pixels in the display's format, keeping s's colour
// key; null without a display or when memory runs out.
SDL_Surface *convertForDisplay(SDL_Surface *s);

// The same with an alpha channel, for per-pixel alpha blending.
SDL_Surface *convertForDisplayAlpha(SDL_Surface *s);

// Makes pixels of the value key (in s's format) transparent in blits.
void setColorKey(SDL_Surface *s, Uint32 key);

// Whether s has a colour key, and its value in s's format.
bool getColorKey(SDL_Surface *s, Uint32 *key);

// Whether blits from s blend by its per-pixel alpha (SDL 1.2's SDL_SRCALPHA
// on a surface with an alpha channel, SDL 2's blend mode).
bool blendsPixelAlpha(const SDL_Surface *s);

#endif
