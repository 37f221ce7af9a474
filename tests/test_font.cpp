// Bitmap fonts: loading, tinting, and where drawText puts each glyph strip.
#include <gtest/gtest.h>
#include <string.h>
#include <sys/stat.h>
#include "assets/font.h"
#include "tests/support.h"

// Writes the font files; a file whose content is null is left out.
static void writeFont(const std::string &dir, const char *ini, const std::vector<uint8_t> *raw,
                      const std::vector<uint8_t> *dat)
{
    if (ini)
        writeString(dir + "/font.ini", ini);
    if (raw)
        writeBytes(dir + "/font.raw", *raw);
    if (dat)
        writeBytes(dir + "/font.dat", *dat);
}

// The sheet used for drawing: every pixel's coverage tells where on the
// sheet it came from, as a code 0..31 stored as 8 * code + 4. Blending white
// at that coverage over black gives 8 * code + 3 or + 4, so a drawn pixel's
// red / 8 gives the code back.
static int sheetCode(int sx, int sy) { return (sx + 3 * sy + 7 * (sy / 16)) % 32; }

static std::vector<uint8_t> codedSheet(int size)
{
    std::vector<uint8_t> raw;
    for (int y = 0; y < size; y++)
        for (int x = 0; x < size; x++)
            raw.push_back((uint8_t)(8 * sheetCode(x, y) + 4));
    return raw;
}

// The code drawn at (x, y) of target, or -1 for an untouched black pixel.
static int drawnCode(SDL_Surface *target, int x, int y)
{
    uint32_t v = pixelRGB(target, x, y);
    return v == 0 ? -1 : (int)((v >> 16) / 8);
}

// Checks that target holds the w x h sheet strip at (sx, sy) drawn at (tx, ty).
static void expectStrip(SDL_Surface *target, int tx, int ty, int w, int h, int sx, int sy)
{
    for (int j = 0; j < h; j++)
        for (int i = 0; i < w; i++)
            ASSERT_EQ(drawnCode(target, tx + i, ty + j), sheetCode(sx + i, sy + j))
                << "target " << tx + i << "," << ty + j;
}

static SDL_Surface *blackTarget(int w, int h)
{
    SDL_Surface *t = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0xFF0000, 0xFF00, 0xFF, 0);
    SDL_FillRect(t, NULL, 0);
    return t;
}

// The sheet's pixel (x, y) as 0xRRGGBBAA.
static uint32_t sheetRGBA(SDL_Surface *s, int x, int y)
{
    SDL_LockSurface(s);
    Uint32 v = *(Uint32 *)((Uint8 *)s->pixels + y * s->pitch + x * 4);
    SDL_UnlockSurface(s);
    Uint8 r, g, b, a;
    SDL_GetRGBA(v, s->format, &r, &g, &b, &a);
    return (uint32_t)r << 24 | g << 16 | b << 8 | a;
}

class FontTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_NE(openTestVideo(), nullptr); dir = makeTempDir(); }
    void TearDown() override { freeFont(font); }
    std::string dir;
    BitmapFont *font = nullptr;
};

TEST_F(FontTest, TintAndAlphaAreBakedIntoThePixels)
{
    std::vector<uint8_t> raw(256);
    for (int i = 0; i < 256; i++)
        raw[i] = (uint8_t)(255 - i);
    std::vector<uint8_t> dat(256, 3);
    writeFont(dir, "16\n", &raw, &dat);

    font = loadFont(dir.c_str(), 1, 1, 0);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->sheetSize, 16);
    EXPECT_EQ(font->cellSize, 1);
    for (int i = 0; i < 256; i++) {
        const unsigned char *p = font->pixelBuffer + 4 * i;
        ASSERT_EQ((uint32_t)p[0] << 24 | p[1] << 16 | p[2] << 8 | p[3], 0xFFFF0000u | raw[i]) << i;
        ASSERT_EQ(sheetRGBA(font->sheet, i % 16, i / 16), 0xFFFF0000u | raw[i]) << i;
    }
    freeFont(font);

    // the whole part of a factor counts: 0.5 gives 0 and 2.0 gives
    // 2 * 255 mod 256 = 254; an alpha factor scales coverage, rounding down
    font = loadFont(dir.c_str(), 0.5f, 2.0f, 1.0f, 0.5f);
    ASSERT_NE(font, nullptr);
    const unsigned char *p = font->pixelBuffer;
    EXPECT_EQ(p[0], 0);
    EXPECT_EQ(p[1], 254);
    EXPECT_EQ(p[2], 255);
    EXPECT_EQ(p[3], 127);                           // 255 * 0.5
    EXPECT_EQ(font->pixelBuffer[4 * 54 + 3], 100);  // 201 * 0.5
    EXPECT_EQ(font->pixelBuffer[4 * 254 + 3], 0);   // 1 * 0.5
    EXPECT_EQ(sheetRGBA(font->sheet, 0, 0), 0x00FEFF7Fu);
    freeFont(font);

    // an alpha factor past 1 wraps in 8 bits
    font = loadFont(dir.c_str(), 1, 1, 1, 2.0f);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->pixelBuffer[4 * 55 + 3], 144);  // 200 * 2 = 400 mod 256
}

TEST_F(FontTest, SheetSizeAndCells)
{
    std::vector<uint8_t> raw(250 * 250, 9);
    writeFont(dir, "  250 pixels\n", &raw, NULL);
    font = loadFont(dir.c_str());
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->sheetSize, 250);
    EXPECT_EQ(font->cellSize, 15);
    EXPECT_EQ(font->sheet->w, 250);
    EXPECT_EQ(font->sheet->h, 250);
    EXPECT_EQ(font->sheet->format->BitsPerPixel, 32);
    EXPECT_NE(font->sheet->flags & SDL_SRCALPHA, 0u);
    // no font.dat: every code advances half a cell
    for (int c = 0; c < 256; c++)
        ASSERT_EQ(font->advances[c], 7) << c;
    EXPECT_EQ(textWidth(font, "abc"), 21);
}

TEST_F(FontTest, ShortFilesReadAsOpaqueAndWide)
{
    std::vector<uint8_t> raw(100, 7);
    std::vector<uint8_t> dat(65, 4);
    writeFont(dir, "16", &raw, &dat);
    font = loadFont(dir.c_str());
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->pixelBuffer[4 * 99 + 3], 7);
    EXPECT_EQ(font->pixelBuffer[4 * 100 + 3], 255);
    EXPECT_EQ(font->pixelBuffer[4 * 255 + 3], 255);
    EXPECT_EQ(font->advances[64], 4);
    EXPECT_EQ(font->advances[65], 255);
    EXPECT_EQ(font->advances[255], 255);
}

TEST_F(FontTest, MissingOrBrokenFilesAreRefused)
{
    std::vector<uint8_t> raw(256, 1);
    std::vector<uint8_t> dat(256, 1);

    testing::internal::CaptureStdout();
    EXPECT_EQ(loadFont(dir.c_str()), nullptr);      // nothing there
    writeFont(dir, NULL, &raw, &dat);
    EXPECT_EQ(loadFont(dir.c_str()), nullptr);      // no font.ini
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    const char *bad[] = { "", "sixteen", "0", "-16", "4097", "\n\n" };
    for (const char *ini : bad) {
        writeFont(dir, ini, NULL, NULL);
        EXPECT_EQ(loadFont(dir.c_str()), nullptr) << "font.ini \"" << ini << "\"";
    }

    std::string noRaw = makeTempDir();
    writeFont(noRaw, "16", NULL, &dat);
    EXPECT_EQ(loadFont(noRaw.c_str()), nullptr);
}

TEST_F(FontTest, DirectoryLengthLimit)
{
    // 110 characters plus "/font.ini" fill the 120-byte path exactly
    std::string base = makeTempDir();
    std::string fits = base + "/" + std::string(110 - base.size() - 1, 'f');
    std::string longer = fits + "g";
    ASSERT_EQ(mkdir(fits.c_str(), 0700), 0);
    ASSERT_EQ(mkdir(longer.c_str(), 0700), 0);
    std::vector<uint8_t> raw(256, 1);
    writeFont(fits, "16", &raw, &raw);
    writeFont(longer, "16", &raw, &raw);

    font = loadFont(fits.c_str());
    EXPECT_NE(font, nullptr);
    EXPECT_EQ(loadFont(longer.c_str()), nullptr);
}

TEST_F(FontTest, GlyphStripsLandWhereTheAdvancesSay)
{
    std::vector<uint8_t> raw = codedSheet(256);
    std::vector<uint8_t> dat(256, 6);
    dat['A'] = 9;
    dat['@'] = 20;
    dat[0xC1] = 6;
    dat['\n'] = 4;
    writeFont(dir, "256", &raw, &dat);
    font = loadFont(dir.c_str());
    ASSERT_NE(font, nullptr);
    ASSERT_EQ(font->cellSize, 16);
    SDL_Surface *t = blackTarget(120, 40);

    // 'A': cell column 1, row 4; cut at 16 + 8 - 4 = 20, 11 wide, 16 tall
    drawText(t, font, 30, 5, "A");
    expectStrip(t, 30, 5, 11, 16, 20, 64);
    for (int j = 4; j <= 21; j++) {
        EXPECT_EQ(drawnCode(t, 29, j), -1);
        EXPECT_EQ(drawnCode(t, 41, j), -1);
    }
    for (int i = 29; i <= 41; i++) {
        EXPECT_EQ(drawnCode(t, i, 4), -1);
        EXPECT_EQ(drawnCode(t, i, 21), -1);
    }

    // codes past 127 come from the lower half of the sheet
    SDL_FillRect(t, NULL, 0);
    drawText(t, font, 0, 0, "\xC1");
    expectStrip(t, 0, 0, 8, 16, 21, 192);
    EXPECT_EQ(drawnCode(t, 8, 0), -1);

    // a line feed is just cell 10 of row 0, on the same line
    SDL_FillRect(t, NULL, 0);
    drawText(t, font, 0, 20, "\n");
    expectStrip(t, 0, 20, 6, 16, 166, 0);
    EXPECT_EQ(drawnCode(t, 6, 20), -1);

    // wider than its cell in column 0: SDL clips the strip at the sheet's
    // left edge and shifts it right on the target
    SDL_FillRect(t, NULL, 0);
    drawText(t, font, 10, 0, "@");
    EXPECT_EQ(drawnCode(t, 11, 0), -1);
    expectStrip(t, 12, 0, 20, 16, 0, 64);
    EXPECT_EQ(drawnCode(t, 32, 0), -1);

    SDL_FreeSurface(t);
}

TEST_F(FontTest, LaterGlyphsFollowThePen)
{
    std::vector<uint8_t> raw = codedSheet(256);
    std::vector<uint8_t> dat(256, 0);
    dat['A'] = 10;
    dat['B'] = 12;
    writeFont(dir, "256", &raw, &dat);
    font = loadFont(dir.c_str());
    ASSERT_NE(font, nullptr);
    SDL_Surface *t = blackTarget(80, 30);

    EXPECT_EQ(textWidth(font, "%c%c", 'A', 'B'), 22);
    drawText(t, font, 7, 3, "%c%c", 'A', 'B');
    // 'A': 12 wide from 16 + 8 - 5 = 19; 'B' 14 wide from 32 + 8 - 6 = 34,
    // drawn at 7 + 10 over the last 2 columns of 'A'
    expectStrip(t, 7, 3, 10, 16, 19, 64);
    expectStrip(t, 19, 3, 12, 16, 36, 64);
    EXPECT_NE(drawnCode(t, 17, 3), -1);
    EXPECT_NE(drawnCode(t, 18, 18), -1);
    EXPECT_EQ(drawnCode(t, 31, 3), -1);
    EXPECT_EQ(drawnCode(t, 6, 3), -1);
    EXPECT_EQ(drawnCode(t, 20, 19), -1);

    // an empty text draws and measures nothing
    SDL_FillRect(t, NULL, 0);
    drawText(t, font, 0, 0, "%s", "");
    EXPECT_EQ(textWidth(font, "%s", ""), 0);
    for (int i = 0; i < 20; i++)
        EXPECT_EQ(drawnCode(t, i, 0), -1);

    SDL_FreeSurface(t);
}

TEST_F(FontTest, LongTextsAreCut)
{
    std::vector<uint8_t> raw(256 * 256, 200);
    std::vector<uint8_t> dat(256, 1);
    writeFont(dir, "256", &raw, &dat);
    font = loadFont(dir.c_str());
    ASSERT_NE(font, nullptr);

    std::string text(3000, 'x');
    EXPECT_EQ(textWidth(font, "%s", text.c_str()), 1023);

    // the last of 1023 strips starts at 1022 and is 3 wide
    SDL_Surface *t = blackTarget(1100, 16);
    drawText(t, font, 0, 0, "%s!", text.c_str());
    EXPECT_NE(pixelRGB(t, 1024, 0), 0u);
    EXPECT_EQ(pixelRGB(t, 1025, 0), 0u);
    SDL_FreeSurface(t);
}

TEST_F(FontTest, NullFontsAndTargetsAreHarmless)
{
    SDL_Surface *t = blackTarget(40, 20);
    drawText(t, NULL, 0, 0, "text");
    EXPECT_EQ(pixelRGB(t, 1, 1), 0u);
    EXPECT_EQ(textWidth(NULL, "text"), 0);
    freeFont(NULL);

    std::vector<uint8_t> raw(256, 255);
    writeFont(dir, "16", &raw, &raw);
    font = loadFont(dir.c_str());
    ASSERT_NE(font, nullptr);
    drawText(NULL, font, 0, 0, "text");
    blitRegion(NULL, font->sheet, 0, 0, 4, 4, 0, 0);
    blitRegion(t, NULL, 0, 0, 4, 4, 0, 0);
    EXPECT_EQ(pixelRGB(t, 1, 1), 0u);
    SDL_FreeSurface(t);
}
