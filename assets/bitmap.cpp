// Windows BMP pictures converted once, at load time, to the display format so
// that every later blit is a plain copy without a format conversion.
#include "assets/bitmap.h"

SDL_Surface *loadBitmap(const char *path)
{
    SDL_RWops *stream = SDL_RWFromFile(path, "rb");
    if (!stream)
        return NULL;

    // 1: SDL closes the stream itself once it has read it
    SDL_Surface *decoded = SDL_LoadBMP_RW(stream, 1);
    if (!decoded)
        return NULL;

    // fails with no video mode set; the decoded copy must go either way
    SDL_Surface *converted = SDL_DisplayFormat(decoded);
    SDL_FreeSurface(decoded);
    return converted;
}
