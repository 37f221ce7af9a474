// The two blit helpers every picture and strip of the frame goes through.
// Both take plain ints and keep their low 16 bits, which is what SDL_Rect's
// fields hold; SDL does all clipping. A missing surface (a picture that
// failed to load) draws nothing.
#include "render/blit.h"

#include "assets/font.h"

void blitAt(SDL_Surface *src, int x, int y, SDL_Surface *dst)
{
    if (!src || !dst)
        return;
    SDL_Rect to;
    to.x = (Sint16)x;
    to.y = (Sint16)y;
    to.w = 0;   // SDL takes the size from src
    to.h = 0;
    SDL_UpperBlit(src, NULL, dst, &to);
}

// The same copy as the font code's blitRegion, with the argument order the
// layers use: source first, destination surface last.
void blitPart(SDL_Surface *src, int dx, int dy, int w, int h, int sx, int sy, SDL_Surface *dst)
{
    blitRegion(dst, src, dx, dy, w, h, sx, sy);
}
