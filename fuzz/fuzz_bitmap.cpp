// loadBitmap's decoding and conversion on arbitrary bytes, from memory; a
// picture that loads is keyed and blitted as the game does with its own.
#include "fuzz/harness.h"
#include "assets/bitmap.h"

static SDL_Surface *screen;

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    screen = fuzzVideo();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    SDL_Surface *s = loadBitmapRW(SDL_RWFromConstMem(data, (int)size));
    if (!s)
        return 0;
    SDL_SetColorKey(s, SDL_SRCCOLORKEY, SDL_MapRGB(s->format, 255, 255, 255));
    SDL_Rect at = { 10, 10, 0, 0 };
    SDL_BlitSurface(s, NULL, screen, &at);
    SDL_FreeSurface(s);
    return 0;
}
