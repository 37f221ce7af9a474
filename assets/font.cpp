// Bitmap fonts. A font directory holds three files:
//   font.ini  the side of the square glyph sheet in pixels, as text
//   font.raw  one coverage byte a pixel of the sheet, rows top to bottom
//   font.dat  256 advance widths, one byte per character code
// The sheet is 16 x 16 cells; code c lives in column c % 16, row c / 16, its
// glyph centred horizontally in the cell. The tint is baked into the pixels
// at load time, so a second colour is a second font from the same files.
#include "assets/font.h"
#include "platform/surface.h"

#include <stdio.h>
#include <stdarg.h>
#include <string.h>
#include <new>
#include "assets/blend.h"

enum {
    fontPathSize = 120, // the three file paths
    textSize = 1024     // one formatted text, NUL included
};

// dir/name into out; false when it would not fit, so a long directory is
// refused rather than cut into some other path.
static bool fontPath(char *out, const char *dir, const char *name)
{
    int n = snprintf(out, fontPathSize, "%s/%s", dir, name);
    return n >= 0 && n < fontPathSize;
}

// Float to int by truncation toward zero. Out-of-range values and NaN would
// make the plain cast undefined; they count as 0.
static int truncToInt(float v)
{
    if (!(v > -2147483648.0f && v < 2147483648.0f))
        return 0;
    return (int)v;
}

// A tint component as a colour byte: the whole part of the factor, low 8
// bits, times 255, low 8 bits. 1.0 gives 255, anything in [0, 1) gives 0.
static Uint8 tintByte(float v)
{
    return (Uint8)(((truncToInt(v) & 255) * 255) & 255);
}

// Reads the sheet size from font.ini; 0 when missing, unreadable or out of
// the range a sane sheet can have.
static int readSheetSize(const char *dir)
{
    char path[fontPathSize];
    if (!fontPath(path, dir, "font.ini"))
        return 0;
    FILE *f = fopen(path, "rb");
    if (!f)
        return 0;
    int size = 0;
    if (fscanf(f, "%d", &size) != 1)
        size = 0;
    fclose(f);
    if (size <= 0 || size > maxFontSheet)
        return 0;
    return size;
}

long fontRawMissing;

// The next byte of f; past the end of the file a byte reads as 255, the low
// 8 bits of EOF, which the font files have always relied on.
static int nextByte(FILE *f, long *missing = nullptr)
{
    int c = fgetc(f);
    if (c != EOF)
        return c;
    if (missing)
        ++*missing;
    return 255;
}

// Fills pixelBuffer from font.raw with the tint and the coverage as alpha.
static void tintPixels(BitmapFont *font, FILE *raw, float r, float g, float b, float a)
{
    Uint8 red = tintByte(r);
    Uint8 green = tintByte(g);
    Uint8 blue = tintByte(b);
    int pixels = font->sheetSize * font->sheetSize;
    unsigned char *p = font->pixelBuffer;

    fontRawMissing = 0;
    for (int i = 0; i < pixels; i++, p += 4) {
        int c = nextByte(raw, &fontRawMissing);
        p[0] = red;
        p[1] = green;
        p[2] = blue;
        p[3] = (Uint8)(truncToInt((float)c * a) & 255);
    }
}

// Wraps pixelBuffer in a surface and converts it to the display format with
// per-pixel alpha. Null when no video mode is set or memory runs out.
static SDL_Surface *makeSheet(BitmapFont *font)
{
    // masks so that the bytes red, green, blue, alpha are read in that order
#if SDL_BYTEORDER == SDL_BIG_ENDIAN
    const Uint32 rm = 0xFF000000, gm = 0x00FF0000, bm = 0x0000FF00, am = 0x000000FF;
#else
    const Uint32 rm = 0x000000FF, gm = 0x0000FF00, bm = 0x00FF0000, am = 0xFF000000;
#endif
    int size = font->sheetSize;
    SDL_Surface *tmp = SDL_CreateRGBSurfaceFrom(font->pixelBuffer, size, size, 32, size * 4,
                                                rm, gm, bm, am);
    if (!tmp)
        return NULL;
    SDL_Surface *sheet = convertForDisplayAlpha(tmp);
    SDL_FreeSurface(tmp);   // leaves pixelBuffer alone
    return sheet;
}

// Reads the 256 advances from font.dat. Without the file every code gets
// half a cell: glyphs sit centred in their cells, so half the cell is about
// an average glyph's width, and the text stays readable instead of piling up
// at one spot (0) or spreading a cell apart (255).
static void readAdvances(BitmapFont *font, const char *dir)
{
    char path[fontPathSize];
    FILE *f = NULL;
    if (fontPath(path, dir, "font.dat"))
        f = fopen(path, "rb");
    if (!f) {
        for (int i = 0; i < 256; i++)
            font->advances[i] = font->cellSize / 2;
        return;
    }
    for (int i = 0; i < 256; i++)
        font->advances[i] = nextByte(f);
    fclose(f);
}

BitmapFont *loadFont(const char *dir, float r, float g, float b, float a)
{
    if (!dir)
        return NULL;
    int size = readSheetSize(dir);
    if (!size)
        return NULL;

    char path[fontPathSize];
    if (!fontPath(path, dir, "font.raw"))
        return NULL;
    FILE *raw = fopen(path, "rb");
    if (!raw)
        return NULL;

    BitmapFont *font = new (std::nothrow) BitmapFont();
    if (!font) {
        fclose(raw);
        return NULL;
    }
    font->sheetSize = size;
    font->cellSize = size / 16;
    font->pixelBuffer = new (std::nothrow) unsigned char[(size_t)size * size * 4];
    font->advances = new (std::nothrow) int[256];
    if (!font->pixelBuffer || !font->advances) {
        fclose(raw);
        freeFont(font);
        return NULL;
    }

    tintPixels(font, raw, r, g, b, a);
    fclose(raw);

    font->sheet = makeSheet(font);
    if (!font->sheet) {
        freeFont(font);
        return NULL;
    }

    readAdvances(font, dir);
    return font;
}

BitmapFont *loadFont(const char *dir)
{
    return loadFont(dir, 1.0f, 1.0f, 1.0f, 1.0f);
}

BitmapFont *loadFont(const char *dir, float r, float g, float b)
{
    return loadFont(dir, r, g, b, 1.0f);
}

void freeFont(BitmapFont *font)
{
    if (!font)
        return;
    delete[] font->advances;
    delete[] font->pixelBuffer;
    if (font->sheet)
        SDL_FreeSurface(font->sheet);
    delete font;
}

void blitRegion(SDL_Surface *target, SDL_Surface *source, int dx, int dy, int w, int h,
                int sx, int sy)
{
    SDL_Rect src;
    src.x = (Sint16)sx;
    src.y = (Sint16)sy;
    src.w = (Uint16)w;
    src.h = (Uint16)h;
    blitSurface(source, &src, target, (Sint16)dx, (Sint16)dy);
}

void drawText(SDL_Surface *target, BitmapFont *font, int x, int y, const char *format, ...)
{
    if (!target || !font || !font->sheet || !font->advances || !format)
        return;

    // a longer text is cut at textSize - 1 characters
    char text[textSize];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof(text), format, args);
    va_end(args);

    int cell = font->cellSize;
    // a text wholly above or below the target draws nothing; skipping it
    // also keeps y inside the 16-bit rectangle fields
    if (y >= target->h || y + cell <= 0)
        return;

    int pen = 0;
    for (const unsigned char *p = (const unsigned char *)text; *p; p++) {
        int c = *p;
        int w = font->advances[c];
        int dx = x + pen;
        // past the right edge nothing more can show, and a pen position
        // beyond 16 bits would wrap back onto the target
        if (dx >= target->w)
            break;
        // strips wholly left of the target are skipped for the same reason
        if (dx + w + 2 > 0) {
            int sx = (c % 16) * cell + (cell / 2 - w / 2);
            int sy = (c / 16) * cell;
            // 2 pixels wider than the advance, reaching into the next glyph's
            // place; the next glyph is drawn over it
            blitRegion(target, font->sheet, dx, y, w + 2, cell, sx, sy);
        }
        pen += w;
    }
}

int textWidth(BitmapFont *font, const char *format, ...)
{
    if (!font || !font->advances || !format)
        return 0;

    char text[textSize];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof(text), format, args);
    va_end(args);

    int width = 0;
    for (const unsigned char *p = (const unsigned char *)text; *p; p++)
        width += font->advances[*p];
    return width;
}
