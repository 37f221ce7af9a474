// Bitmap fonts: a 16 x 16 sheet of glyph cells with per-pixel alpha, tinted at
// load time, and 256 advance widths.
#ifndef ASSETS_FONT_H
#define ASSETS_FONT_H

#include <SDL.h>

struct BitmapFont {
    SDL_Surface *sheet;     // display format with alpha
    int sheetSize;          // side of the square sheet in pixels
    int cellSize;           // sheetSize / 16
    int *advances;          // 256 advance widths, 0..255
    unsigned char *pixelBuffer; // sheetSize * sheetSize * 4 bytes, RGBA
};

// Font sizes outside 1..maxFontSheet are refused as broken files.
const int maxFontSheet = 4096;

BitmapFont *loadFont(const char *dir, float r, float g, float b, float a);
// How many bytes font.raw lacked in the latest loadFont that read it: they
// are drawn as full coverage, the solid bars of a cut font. 0 when whole.
extern long fontRawMissing;
BitmapFont *loadFont(const char *dir);
BitmapFont *loadFont(const char *dir, float r, float g, float b);
void freeFont(BitmapFont *font);

// printf-style text with its top-left corner at (x, y). A null font draws
// nothing; a text longer than 1023 characters is cut.
void drawText(SDL_Surface *target, BitmapFont *font, int x, int y, const char *format, ...)
    __attribute__((format(printf, 5, 6)));
// Sum of the advances of the formatted text; 0 for a null font.
int textWidth(BitmapFont *font, const char *format, ...)
    __attribute__((format(printf, 2, 3)));

// Copies the w x h rectangle at (sx, sy) of source to (dx, dy) of target;
// a source with per-pixel alpha (a font sheet) is blended over it.
void blitRegion(SDL_Surface *target, SDL_Surface *source, int dx, int dy, int w, int h,
                int sx, int sy);

#endif
