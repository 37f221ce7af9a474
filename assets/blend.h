// The one blit every picture, glyph and sprite goes through. Sources with
// per-pixel alpha are blended here, by the game's own arithmetic, so a text
// edge has the same pixels whichever SDL library runs underneath; opaque and
// colour-keyed sources are plain copies and go to SDL's blitter.
#ifndef ASSETS_BLEND_H
#define ASSETS_BLEND_H

#include <SDL.h>

// Copies the part of src (NULL: all of it) with its top-left corner at
// (x, y) of dst, clipped as SDL clips a blit: to src, then to dst's clip
// rectangle. A null surface draws nothing and SDL never sees it.
void blitSurface(SDL_Surface *src, const SDL_Rect *part, SDL_Surface *dst, Sint16 x, Sint16 y);

// True when blitSurface blends src itself: per-pixel alpha (SDL_SRCALPHA
// with an alpha mask), 32-bit pixels with 8-bit channels on both sides.
bool blendsItself(const SDL_Surface *src, const SDL_Surface *dst);

// One channel of the blend: (s * a + d * (255 - a)) / 255, rounded to the
// nearest whole value.
inline Uint32 blendChannel(Uint32 s, Uint32 d, Uint32 a)
{
    Uint32 x = s * a + d * (255 - a) + 128;
    return (x + (x >> 8)) >> 8;
}

#endif
