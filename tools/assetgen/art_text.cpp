// Lines of text rasterised with FreeType into coverage masks, for the title
// and game-over pictures and the logo.
#include "tools/assetgen/art.h"

#include <stdio.h>
#include <math.h>
#include <algorithm>
#include <ft2build.h>
#include FT_FREETYPE_H

namespace art {

std::string fontFile(const char *name)
{
    return std::string("/usr/share/fonts/truetype/dejavu/") + name;
}

// One rendered glyph, kept until the line's extent is known.
struct PlacedGlyph {
    int x, y;                       // top-left of its bitmap, baseline at y = 0
    int w, h;
    std::vector<uint8_t> cov;
};

Mask renderText(const std::string &font, float pixelSize, const std::string &text, int pad,
                float shear, float spacing, int *baselineY)
{
    FT_Library lib;
    FT_Face face;
    if (FT_Init_FreeType(&lib)) {
        printf("assetgen: FreeType does not start\n");
        return Mask();
    }
    if (FT_New_Face(lib, font.c_str(), 0, &face)) {
        printf("assetgen: cannot open font %s\n", font.c_str());
        FT_Done_FreeType(lib);
        return Mask();
    }
    FT_Set_Char_Size(face, 0, (FT_F26Dot6)lroundf(pixelSize * 64.0f), 72, 72);
    FT_Matrix m;
    m.xx = 0x10000;
    m.xy = (FT_Fixed)lroundf(shear * 65536.0f);
    m.yx = 0;
    m.yy = 0x10000;
    FT_Set_Transform(face, &m, NULL);

    std::vector<PlacedGlyph> glyphs;
    long pen = 0;                   // 26.6 fixed point
    FT_UInt previous = 0;
    for (size_t i = 0; i < text.size(); i++) {
        FT_UInt index = FT_Get_Char_Index(face, (unsigned char)text[i]);
        if (previous && index && FT_HAS_KERNING(face)) {
            FT_Vector k;
            FT_Get_Kerning(face, previous, index, FT_KERNING_DEFAULT, &k);
            pen += k.x;
        }
        if (FT_Load_Glyph(face, index, FT_LOAD_RENDER))
            continue;
        FT_GlyphSlot g = face->glyph;
        PlacedGlyph pg;
        pg.x = (int)((pen + 32) >> 6) + g->bitmap_left;
        pg.y = -g->bitmap_top;
        pg.w = (int)g->bitmap.width;
        pg.h = (int)g->bitmap.rows;
        for (int y = 0; y < pg.h; y++)
            for (int x = 0; x < pg.w; x++)
                pg.cov.push_back(g->bitmap.buffer[y * g->bitmap.pitch + x]);
        glyphs.push_back(pg);
        pen += g->advance.x + (long)lroundf(spacing * 64.0f);
        previous = index;
    }
    FT_Done_Face(face);
    FT_Done_FreeType(lib);

    int x0 = 0, y0 = 0, x1 = 1, y1 = 1;
    bool first = true;
    for (const PlacedGlyph &g : glyphs) {
        if (g.w == 0 || g.h == 0)
            continue;
        if (first) {
            x0 = g.x; y0 = g.y; x1 = g.x + g.w; y1 = g.y + g.h;
            first = false;
        }
        x0 = std::min(x0, g.x);
        y0 = std::min(y0, g.y);
        x1 = std::max(x1, g.x + g.w);
        y1 = std::max(y1, g.y + g.h);
    }
    Mask out(x1 - x0 + 2 * pad, y1 - y0 + 2 * pad);
    for (const PlacedGlyph &g : glyphs)
        for (int y = 0; y < g.h; y++)
            for (int x = 0; x < g.w; x++) {
                float &v = out.at(g.x - x0 + pad + x, g.y - y0 + pad + y);
                v = std::max(v, g.cov[(size_t)y * g.w + x] / 255.0f);
            }
    if (baselineY)
        *baselineY = pad - y0;
    return out;
}

void paintMask(Image &img, const Mask &m, int ox, int oy, const Shader &shade, float opacity)
{
    for (int y = 0; y < m.h; y++)
        for (int x = 0; x < m.w; x++) {
            float a = m.get(x, y) * opacity;
            if (a > 0.0f)
                blend(img, ox + x, oy + y, shade((float)(ox + x), (float)(oy + y)), a);
        }
}

} // namespace art
