// Windows BMP pictures converted once, at load time, to the display format so
// that every later blit is a plain copy without a format conversion.
#include "assets/bitmap.h"
#include "platform/surface.h"

#include <stdint.h>

static uint32_t le32(const Uint8 *p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | ((uint32_t)p[3] << 24);
}

// Reads the size and depth that the header claims; false when the header is
// too short to hold them, the size is beyond the limits or the depth is none
// that a BMP can have (SDL builds a surface of any depth it is given and
// then fails converting it). A file that is no BMP at all passes, for SDL
// to refuse with its own reason.
static bool sizeAcceptable(SDL_RWops *stream)
{
    Uint8 head[30];
    if (SDL_RWread(stream, head, 1, sizeof head) != (int)sizeof head)
        return false;
    if (head[0] != 'B' || head[1] != 'M')
        return true;
    int64_t w, h;
    int depth;
    if (le32(head + 14) == 12) {        // the old 12-byte header: 16-bit sizes
        w = head[18] | (head[19] << 8);
        h = head[20] | (head[21] << 8);
        depth = head[24] | (head[25] << 8);
    } else {
        w = (int32_t)le32(head + 18);
        h = (int32_t)le32(head + 22);   // negative: rows stored top down
        depth = head[28] | (head[29] << 8);
    }
    if (depth != 1 && depth != 4 && depth != 8 && depth != 16 && depth != 24 && depth != 32)
        return false;
    if (h < 0)
        h = -h;
    return w <= maxBitmapSide && h <= maxBitmapSide && w * h <= maxBitmapPixels;
}

SDL_Surface *decodeBitmap(SDL_RWops *stream)
{
    if (!stream)
        return NULL;
    // SDL allocates the whole picture from the header's claim before it
    // reads a pixel, and its row pitch is 16 bits: a huge claim must not
    // get that far.
    int start = SDL_RWtell(stream);
    bool ok = sizeAcceptable(stream);
    if (!ok || SDL_RWseek(stream, start, RW_SEEK_SET) != start) {
        SDL_RWclose(stream);
        return NULL;
    }
    // 1: SDL closes the stream itself once it has read it
    return SDL_LoadBMP_RW(stream, 1);
}

SDL_Surface *loadBitmapRW(SDL_RWops *stream)
{
    SDL_Surface *decoded = decodeBitmap(stream);
    if (!decoded)
        return NULL;
    // fails with no video mode set; the decoded copy must go either way
    SDL_Surface *converted = convertForDisplay(decoded);
    SDL_FreeSurface(decoded);
    return converted;
}

SDL_Surface *loadBitmap(const char *path)
{
    return loadBitmapRW(SDL_RWFromFile(path, "rb"));
}
