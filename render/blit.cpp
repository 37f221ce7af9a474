// The two blit helpers every picture and strip of the frame goes through.
// Both take plain ints and keep their low 16 bits, which is what SDL_Rect's
// fields hold, and go through blitSurface, which clips as SDL does and
// blends a picture with per-pixel alpha itself. A missing surface (a picture
// that failed to load) draws nothing.
#include "render/blit.h"

#include "assets/blend.h"
#include "assets/font.h"

void blitAt(SDL_Surface *src, int x, int y, SDL_Surface *dst)
{
    blitSurface(src, NULL, dst, (Sint16)x, (Sint16)y);
}

// The same copy as the font code's blitRegion, with the argument order the
// layers use: source first, destination surface last.
void blitPart(SDL_Surface *src, int dx, int dy, int w, int h, int sx, int sy, SDL_Surface *dst)
{
    blitRegion(dst, src, dx, dy, w, h, sx, sy);
}
