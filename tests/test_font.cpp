// Bitmap fonts: loading, tinting, and where drawText puts each glyph strip.
#include <gtest/gtest.h>
#include <tuple>
#include "assets/font.h"
#include "tests/support.h"
#include "platform/surface.h"

typedef std::vector<uint8_t> Bytes;

// Writes the font files; an empty one is left out.
static void writeFont(const std::string &dir, const std::string &ini, const Bytes &raw, const Bytes &dat = {})
{
    for (auto [name, bytes] : { std::pair{ "/font.ini", Bytes(ini.begin(), ini.end()) },
                                { "/font.raw", raw }, { "/font.dat", dat } })
        if (!bytes.empty())
            writeBytes(dir + name, bytes);
}

// The drawing tests use a 256 x 256 sheet whose every pixel's coverage tells
// where on the sheet it came from, as a code 0..31 stored as 8 * code + 4.
// White blended over black at that coverage gives red 8 * code + 3 or + 4, so
// red / 8 gives the code back.
static int sheetCode(int sx, int sy) { return (sx + 3 * sy + 7 * (sy / 16)) % 32; }

// The code drawn at (x, y) of target, or -1 for an untouched black pixel.
static int drawnCode(SDL_Surface *target, int x, int y)
{
    uint32_t v = pixelRGB(target, x, y);
    return v == 0 ? -1 : (int)((v >> 16) / 8);
}

// Checks that target holds the w x 16 sheet strip at (sx, sy) drawn at (tx, ty).
static void expectStrip(SDL_Surface *target, int tx, int ty, int w, int sx, int sy)
{
    for (int j = 0; j < 16; j++)
        for (int i = 0; i < w; i++)
            ASSERT_EQ(drawnCode(target, tx + i, ty + j), sheetCode(sx + i, sy + j))
                << "target " << tx + i << "," << ty + j;
}

// The converted sheet's pixel (x, y) as 0xRRGGBBAA.
static uint32_t sheetRGBA(SDL_Surface *s, int x, int y)
{
    Uint8 a, unused;
    SDL_GetRGBA(((Uint32 *)s->pixels)[y * s->pitch / 4 + x], s->format, &unused, &unused, &unused, &a);
    return pixelRGB(s, x, y) << 8 | a;
}

class FontTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_NE(openTestVideo(), nullptr); dir = makeTempDir(); }
    void TearDown() override { freeFont(font); }
    std::string dir;
    BitmapFont *font = nullptr;
};

// font.raw and font.dat shorter than needed: the missing bytes read as 255.
TEST_F(FontTest, TintAlphaCellAndAdvancesOfALoadedFont)
{
    Bytes raw(200);
    for (int i = 0; i < 200; i++)
        raw[i] = (uint8_t)(255 - i);
    writeFont(dir, "16\n", raw, Bytes(65, 4));

    ASSERT_NE(font = loadFont(dir.c_str(), 1, 1, 0), nullptr);
    // The sheet blends by its per-pixel alpha on either SDL.
    EXPECT_TRUE(blendsPixelAlpha(font->sheet));
    for (int i = 0; i < 256; i++)
        ASSERT_EQ(sheetRGBA(font->sheet, i % 16, i / 16), 0xFFFF0000u | (i < 200 ? raw[i] : 255)) << i;
    EXPECT_EQ(std::make_tuple(font->advances[64], font->advances[65], font->advances[255]), std::make_tuple(4, 255, 255));
    EXPECT_EQ(fontRawMissing, 56);      // said at start-up
    freeFont(font);

    // the whole part of a factor counts: 0.5 gives 0 and 2.0 gives
    // 2 * 255 mod 256 = 254; an alpha factor scales coverage, rounding down
    ASSERT_NE(font = loadFont(dir.c_str(), 0.5f, 2.0f, 1.0f, 0.5f), nullptr);
    EXPECT_EQ(sheetRGBA(font->sheet, 0, 0), 0x00FEFF7Fu);   // 255 * 0.5
    EXPECT_EQ(sheetRGBA(font->sheet, 6, 3) & 255, 100u);    // 201 * 0.5
    EXPECT_EQ(sheetRGBA(font->sheet, 7, 12) & 255, 28u);    // 56 * 0.5
    freeFont(font);

    // A cell is a sixteenth of the sheet, rounded down; without font.dat
    // every advance is half a cell.
    dir = makeTempDir();
    writeFont(dir, "  250 pixels\n", Bytes(250 * 250, 9));
    ASSERT_NE(font = loadFont(dir.c_str()), nullptr);
    EXPECT_EQ(std::make_tuple(font->sheet->w, font->cellSize, fontRawMissing), std::make_tuple(250, 15, 0L));
    for (int c = 0; c < 256; c++)
        ASSERT_EQ(font->advances[c], 7) << c;
}

TEST_F(FontTest, MissingOrBrokenFilesAreRefused)
{
    testing::internal::CaptureStdout();
    EXPECT_EQ(loadFont(dir.c_str()), nullptr);      // nothing there
    writeFont(dir, "", Bytes(256, 1), Bytes(256, 1));
    EXPECT_EQ(loadFont(dir.c_str()), nullptr);      // no font.ini
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    for (const char *ini : { "", "sixteen", "0", "-16", "4097", "\n\n" }) {
        writeString(dir + "/font.ini", ini);
        EXPECT_EQ(loadFont(dir.c_str()), nullptr) << "font.ini \"" << ini << "\"";
    }
    std::string noRaw = makeTempDir();
    writeFont(noRaw, "16", Bytes(), Bytes(256, 1));
    EXPECT_EQ(loadFont(noRaw.c_str()), nullptr);
    EXPECT_EQ(textWidth(NULL, "text"), 0);
    freeFont(NULL);
}

// Each glyph is a strip of its advance + 2 columns, cut centred from its cell.
TEST_F(FontTest, GlyphStripsLandWhereTheAdvancesSayAndLongTextsAreCut)
{
    Bytes raw, dat(256, 6);
    for (int i = 0; i < 256 * 256; i++)
        raw.push_back((uint8_t)(8 * sheetCode(i % 256, i / 256) + 4));
    dat['A'] = 9, dat['B'] = 12, dat['@'] = 20, dat['\n'] = 4, dat['x'] = 1;
    writeFont(dir, "256", raw, dat);
    ASSERT_NE(font = loadFont(dir.c_str()), nullptr);
    SDL_Surface *t = SDL_CreateRGBSurface(0, 1100, 40, 32, 0, 0, 0, 0);   // all black

    struct { const char *text; int x, stripX, w, sx, sy; } glyphs[] = {
        { "A", 30, 30, 11, 20, 64 },        // column 1, row 4: 16 + 8 - 4
        { "\xC1", 0, 0, 8, 21, 192 },       // codes past 127: lower half
        { "\n", 0, 0, 6, 166, 0 },          // a plain cell, no new line
        // wider than its cell in column 0: clipped at the sheet's left edge
        // and shifted right on the target
        { "@", 10, 12, 20, 0, 64 },
    };
    for (auto &g : glyphs) {
        SCOPED_TRACE(g.text);
        SDL_FillRect(t, NULL, 0);
        drawText(t, font, g.x, 5, "%s", g.text);
        expectStrip(t, g.stripX, 5, g.w, g.sx, g.sy);
        EXPECT_EQ(drawnCode(t, g.stripX + g.w, 5), -1);
        EXPECT_EQ(drawnCode(t, g.stripX, 21), -1);
    }

    // 'B' (14 wide from 32 + 8 - 6) is drawn 9 further on, over the last
    // 2 columns of 'A'
    SDL_FillRect(t, NULL, 0);
    drawText(t, font, 7, 3, "%c%c", 'A', 'B');
    EXPECT_EQ(textWidth(font, "%c%c", 'A', 'B'), 21);
    expectStrip(t, 7, 3, 9, 20, 64);
    EXPECT_NE(drawnCode(t, 17, 3), -1);
    expectStrip(t, 18, 3, 12, 36, 64);
    EXPECT_EQ(drawnCode(t, 30, 3), -1);

    // a text is cut at 1023 characters: the last strip starts at 1022, 3 wide
    std::string text(3000, 'x');
    EXPECT_EQ(textWidth(font, "%s", text.c_str()), 1023);
    SDL_FillRect(t, NULL, 0);
    drawText(t, font, 0, 0, "%s!", text.c_str());
    EXPECT_NE(drawnCode(t, 1024, 0), -1);
    EXPECT_EQ(drawnCode(t, 1025, 0), -1);

    // no target: nothing breaks (start-up's run without data draws with no font)
    drawText(NULL, font, 0, 0, "text");
    SDL_FreeSurface(t);
}
