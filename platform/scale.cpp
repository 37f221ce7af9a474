// Whole-pixel scaling, the same for every display implementation.
#include "platform/display.h"

#include <string.h>

int fitScale(int w, int h, int maxFactor)
{
    int n = 1;
    while (n < maxFactor && gameWidth * (n + 1) <= w && gameHeight * (n + 1) <= h)
        n++;
    return n;
}

int fitScaleInModes(SDL_Rect *const *modes, int maxFactor, SDL_Rect *room)
{
    int best = 0;
    for (int i = 0; modes && modes[i]; i++) {
        int n = fitScale(modes[i]->w, modes[i]->h, maxFactor);
        // fitScale says 1 even where 640 x 480 does not fit.
        if (n == 1 && (modes[i]->w < gameWidth || modes[i]->h < gameHeight))
            n = 0;
        if (n > best) {
            best = n;
            if (room)
                *room = *modes[i];
        }
    }
    return best > 0 ? best : 1;
}

void scaleCopy(SDL_Surface *src, SDL_Surface *dst, int n)
{
    int outW = src->w * n, outH = src->h * n;
    if (outW > dst->w || outH > dst->h)
        return;
    int left = (dst->w - outW) / 2, top = (dst->h - outH) / 2;
    for (int y = 0; y < src->h; y++) {
        const Uint32 *in = (const Uint32 *)((const Uint8 *)src->pixels + y * src->pitch);
        Uint8 *firstRow = (Uint8 *)dst->pixels + (top + y * n) * dst->pitch;
        Uint32 *out = (Uint32 *)firstRow + left;
        if (n == 1) {
            memcpy(out, in, (size_t)outW * 4);
            continue;
        }
        for (int x = 0; x < src->w; x++) {
            Uint32 p = in[x];
            for (int k = 0; k < n; k++)
                *out++ = p;
        }
        // The other n - 1 rows are the same pixels again.
        for (int k = 1; k < n; k++)
            memcpy(firstRow + k * dst->pitch + left * 4, firstRow + left * 4, (size_t)outW * 4);
    }
}
