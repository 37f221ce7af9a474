// Windows BMP pictures converted to the display's pixel format.
#ifndef ASSETS_BITMAP_H
#define ASSETS_BITMAP_H

#include <SDL/SDL.h>

// Loads a BMP and converts it to the display format; null when the file is
// missing, unreadable, or no video mode is set yet. Prints nothing.
SDL_Surface *loadBitmap(const char *path);

#endif
