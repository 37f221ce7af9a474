#ifndef RENDER_BLIT_H
#define RENDER_BLIT_H

#include <SDL.h>

// Whole src onto dst with its top-left corner at (x, y).
void blitAt(SDL_Surface *src, int x, int y, SDL_Surface *dst);
// The w x h rectangle at (sx, sy) of src onto (dx, dy) of dst.
void blitPart(SDL_Surface *src, int dx, int dy, int w, int h, int sx, int sy, SDL_Surface *dst);

#endif
