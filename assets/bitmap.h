// Windows BMP pictures converted to the display's pixel format.
#ifndef ASSETS_BITMAP_H
#define ASSETS_BITMAP_H

#include <SDL.h>

// The largest picture accepted: a side of at most this many pixels (a 32-bit
// row must fit SDL's 16-bit pitch) and at most this many pixels in all.
const int maxBitmapSide = 16000;
const long maxBitmapPixels = 16L * 1024 * 1024;

// Decodes a BMP from stream, which it closes, without converting it. Null
// when the stream is null, the data is no BMP that SDL can read, or the
// header claims a picture larger than the limits above: such a claim is
// refused before SDL allocates for it. Prints nothing.
SDL_Surface *decodeBitmap(SDL_RWops *stream);

// Decodes a BMP from stream (closed here) and converts it to the display
// format; null on any failure, also when no video mode is set yet.
SDL_Surface *loadBitmapRW(SDL_RWops *stream);

// loadBitmapRW on the file at path.
SDL_Surface *loadBitmap(const char *path);

#endif
