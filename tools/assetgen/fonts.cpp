// The two bitmap fonts: a 16 x 16 sheet of anti-aliased glyph cells
// ("font.raw", one coverage byte a pixel), its side ("font.ini") and 256
// advance widths ("font.dat").
//
// The game draws a character by cutting from its cell a strip advance + 2
// pixels wide that starts advance / 2 left of the cell's centre, and moves its
// pen by the advance. So each glyph's origin is put one pixel inside that
// strip: a pixel of room for ink left of the origin, one for ink past the
// advance.
#include "tools/assetgen/assetgen.h"
#include "tools/assetgen/art.h"

#include <stdio.h>
#include <math.h>
#include <ft2build.h>
#include FT_FREETYPE_H

namespace {

struct FontStyle {
    const char *dir;        // below the root
    const char *face;       // DejaVu file name
    float pixelSize;
    int sheet;              // side of the sheet; cells are sheet / 16
    int baseline;           // cell row the glyphs stand on: the first row below a capital
    int tighten;            // pixels taken off every advance
};

// Codes that get a glyph: printable ASCII and the Latin-1 letters. The rest
// stay empty with no advance.
bool hasGlyph(int code)
{
    return (code >= 32 && code <= 126) || (code >= 160 && code <= 255);
}

bool makeFont(const std::string &root, const FontStyle &st)
{
    std::string dir = root + "/" + st.dir;
    std::string file = art::fontFile(st.face);
    FT_Library lib;
    FT_Face face;
    if (FT_Init_FreeType(&lib)) {
        printf("assetgen: FreeType does not start\n");
        return false;
    }
    if (FT_New_Face(lib, file.c_str(), 0, &face)) {
        printf("assetgen: cannot open font %s\n", file.c_str());
        FT_Done_FreeType(lib);
        return false;
    }
    FT_Set_Char_Size(face, 0, (FT_F26Dot6)lroundf(st.pixelSize * 64.0f), 72, 72);

    const int cell = st.sheet / 16;
    const int baseline = st.baseline;
    std::vector<uint8_t> sheet((size_t)st.sheet * st.sheet, 0);
    std::vector<uint8_t> advances(256, 0);

    for (int code = 0; code < 256; code++) {
        if (!hasGlyph(code) || FT_Get_Char_Index(face, code) == 0)
            continue;
        if (FT_Load_Char(face, code, FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT))
            continue;
        FT_GlyphSlot g = face->glyph;
        int adv = (int)((g->advance.x + 32) >> 6) - st.tighten;
        // Tightening stops where the ink would no longer fit the strip (it
        // reaches bitmap_left + width - 1 past the origin, the strip adv + 1).
        int inkEnd = g->bitmap.width ? g->bitmap_left + (int)g->bitmap.width - 1 : 0;
        if (adv < inkEnd)
            adv = inkEnd;
        if (adv < 1)
            adv = 1;
        advances[code] = (uint8_t)adv;

        int cellX = (code % 16) * cell, cellY = (code / 16) * cell;
        int originX = cellX + cell / 2 - adv / 2 + 1;
        for (int y = 0; y < (int)g->bitmap.rows; y++)
            for (int x = 0; x < (int)g->bitmap.width; x++) {
                int sx = originX + g->bitmap_left + x;
                int sy = cellY + baseline - g->bitmap_top + y;
                // ink that would fall outside the cell is dropped, so no
                // glyph ever shows up in its neighbour's strip
                if (sx < cellX || sx >= cellX + cell || sy < cellY || sy >= cellY + cell)
                    continue;
                uint8_t v = g->bitmap.buffer[y * g->bitmap.pitch + x];
                uint8_t &dst = sheet[(size_t)sy * st.sheet + sx];
                if (v > dst)
                    dst = v;
            }
    }
    FT_Done_Face(face);
    FT_Done_FreeType(lib);

    return makeDirs(dir)
           && writeText(dir + "/font.ini", std::to_string(st.sheet) + "\n")
           && writeFile(dir + "/font.raw", sheet)
           && writeFile(dir + "/font.dat", advances);
}

} // namespace

bool makeFonts(const std::string &root)
{
    // The HUD draws both fonts at the same y on its bottom line, so both stand
    // on row 12 of their cells: capitals and digits fill rows 3..11. On the
    // top line that puts the lives count in rows 39..47 and leaves rows
    // 49..59 below it to the lives icons.
    // Yellow-tinted by the game: "LOADING", "PAUSED", "GOD", the credit line.
    FontStyle small = { "data/font", "DejaVuSans-Bold.ttf", 13.0f, 256, 12, 0 };
    // White HUD font: a condensed face, one pixel tighter, so that
    // "9999999 NEW HIGHSCORE!!" from x 300 ends well clear of the credit line
    // at x 465.
    FontStyle big = { "data/bigfont", "DejaVuSansCondensed-Bold.ttf", 12.5f, 320, 12, 1 };
    return makeFont(root, small) && makeFont(root, big);
}
