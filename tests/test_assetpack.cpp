// The generated pictures, sprite sets and fonts: the sets load within the
// limits the screen layout sets, the colour-keyed pictures are cut cleanly,
// the scrolling strips have no seam, every glyph fits the strip the game
// cuts for it, and the generator writes the same bytes every time.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <string.h>
#include <algorithm>
#include "assets/bitmap.h"
#include "assets/font.h"
#include "assets/spriteset.h"
#include "tests/support.h"
#include "platform/surface.h"
#include "tools/assetgen/art.h"
#include "tools/assetgen/assetgen.h"

// A file of the pack, sounds and music included, which is made once per test
// process (it takes seconds) and removed when the process ends.
static std::string path(const char *rel)
{
    static struct Pack {
        std::string root = generatedPack(true);
        ~Pack() { removeTree(root); }
    } pack;
    return pack.root + "/" + rel;
}

// A picture's pixels as 0xRRGGBB, row by row.
struct Pixels {
    int w, h;
    std::vector<uint32_t> px;
    // reads s, and frees it when owned (straight from SDL_LoadBMP)
    Pixels(SDL_Surface *s, bool owned) : w(s ? s->w : 0), h(s ? s->h : 0)
    {
        for (int i = 0; i < w * h; i++)
            px.push_back(pixelRGB(s, i % w, i / w));
        if (owned)
            SDL_FreeSurface(s);
    }
    uint32_t at(int x, int y) const { return px[(size_t)y * w + x]; }
    // whether a 4-neighbour of (x, y) has the colour c
    bool touches(int x, int y, uint32_t c) const
    {
        return (x > 0 && at(x - 1, y) == c) || (x + 1 < w && at(x + 1, y) == c) || (y > 0 && at(x, y - 1) == c)
               || (y + 1 < h && at(x, y + 1) == c);
    }
};

// A picture as written, without conversion to the display (empty if unreadable).
static Pixels loadPixels(const std::string &file) { return Pixels(SDL_LoadBMP(file.c_str()), true); }

static int red(uint32_t c) { return c >> 16; }
static int grn(uint32_t c) { return (c >> 8) & 255; }
static int blue(uint32_t c) { return c & 255; }

// A safeguard no picture of the pack exercises today: a solid pixel that
// happens to be the key colour is moved just off it rather than becoming a
// hole. (That the BMP writer puts each channel where SDL's reader expects it
// is the bitmap test's, whose pictures it writes, and the golden demos'.)
TEST(DrawingKit, ASolidPixelInTheKeyColourIsMovedOffIt)
{
    art::Image keyed(1, 1, art::rgb(255, 0, 255));
    art::applyKey(keyed, { 1 }, art::rgb(255, 0, 255));
    EXPECT_TRUE(keyed.get(0, 0).g > 0.0f && keyed.get(0, 0).g <= 1.0f) << keyed.get(0, 0).g;
}

class AssetPack : public testing::Test {
protected:
    void SetUp() override { ASSERT_NE(openTestVideo(), nullptr); }
};

// Both layers repeat every 3909 columns: going from the last column to the
// first must look like an ordinary step between neighbouring columns. The
// bar is the 90th percentile, since the rare big steps (star, spire and tower
// edges) would let a real seam through.
TEST_F(AssetPack, StripsAreSeamless)
{
    for (const char *file : { "data/repeat.bmp", "data/front.bmp" }) {
        Pixels p = loadPixels(path(file));
        ASSERT_EQ(p.w, 3909) << file;
        // mean |a - b| per channel over all rows, between columns a and b
        auto step = [&](int a, int b) {
            double sum = 0;
            for (int y = 0; y < p.h; y++) {
                uint32_t u = p.at(a, y), v = p.at(b, y);
                sum += abs(red(u) - red(v)) + abs(grn(u) - grn(v)) + abs(blue(u) - blue(v));
            }
            return sum / (3.0 * p.h);
        };
        std::vector<double> steps;
        for (int x = 0; x + 1 < p.w; x++)
            steps.push_back(step(x, x + 1));
        std::nth_element(steps.begin(), steps.begin() + steps.size() * 9 / 10, steps.end());
        double p90 = steps[steps.size() * 9 / 10];
        EXPECT_LE(step(3908, 0), 1.5 * p90) << file;
        EXPECT_GT(p90, 0.5) << file << " is flat";
    }
}

// The front layer is keyed on white: white sky with the upper band open for
// flying, ground below with no white holes. The game-over picture is keyed on
// pure green: a green border, lettering with no green in it. Neither has a
// pale pixel where it meets its key, which would show as a fringe.
TEST_F(AssetPack, KeyedPicturesAreCutCleanly)
{
    const uint32_t white = 0xFFFFFF, green = 0x00FF00;
    Pixels front = loadPixels(path("data/front.bmp"));
    ASSERT_EQ(front.w, 3909);
    int holes = 0, fringe = 0, openColumns = 0, whiteTop = 0;
    for (int x = 0; x < front.w; x++) {
        int sky = 0;
        while (sky < front.h && front.at(x, sky) == white)
            sky++;
        openColumns += sky >= 330;
        for (int y = 0; y < front.h; y++) {
            uint32_t c = front.at(x, y);
            whiteTop += y < 200 && c == white;
            holes += y >= 380 && c == white;
            fringe += c != white && front.touches(x, y, white) && std::min({ red(c), grn(c), blue(c) }) > 200;
        }
    }
    EXPECT_EQ(holes, 0);
    EXPECT_EQ(fringe, 0);
    EXPECT_GT(openColumns, front.w * 9 / 10);
    EXPECT_GT(whiteTop, front.w * 200 * 97 / 100);

    Pixels over = loadPixels(path("data/gameover.bmp"));
    ASSERT_GT(over.w, 4);
    int borderHoles = 0, greenish = 0;
    fringe = 0;
    for (int y = 0; y < over.h; y++)
        for (int x = 0; x < over.w; x++) {
            uint32_t c = over.at(x, y);
            borderHoles += (x < 2 || y < 2 || x >= over.w - 2 || y >= over.h - 2) && c != green;
            greenish += c != green && grn(c) > red(c) + 60 && grn(c) > blue(c) + 60;
            fringe += c != green && over.touches(x, y, green) && red(c) + grn(c) + blue(c) > 240;
        }
    EXPECT_EQ(borderHoles, 0);
    EXPECT_EQ(greenish, 0);
    EXPECT_EQ(fringe, 0);
}

// Every frame is keyed on magenta, with its corner transparent and a shape of
// reasonable size cut out. The ship's last (blink) frame is nearly empty, so
// the invulnerable ship flickers.
TEST_F(AssetPack, SpriteSetsLoadWithinTheirLimits)
{
    struct { const char *dir; int minFrames, maxFrames, maxW, maxH; } sets[] = {
        { "data/ship", 3, 4, 70, 49 },      // taller than 49 rows hits the band's edge
        { "data/bullet", 1, 2, 24, 10 },
        { "data/enemy", 2, 4, 50, 50 },     // a new enemy shows frame 0 or 1
        { "Data/cloud", 1, 2, 160, 50 },
    };
    const uint32_t key = 0xFF00FF;
    for (auto &s : sets) {
        SCOPED_TRACE(s.dir);
        SpriteSet set = {};
        ASSERT_EQ(loadSpriteSet(&set, path(s.dir).c_str()), 0);
        EXPECT_TRUE(set.frameCount >= s.minFrames && set.frameCount <= s.maxFrames) << set.frameCount;
        std::vector<double> solid;
        for (int i = 0; i < set.frameCount; i++) {
            SDL_Surface *f = set.frames[i].surface;
            EXPECT_TRUE(f->w <= s.maxW && f->h <= s.maxH) << f->w << "x" << f->h;
            EXPECT_TRUE(set.frames[i].delay >= 40 && set.frames[i].delay <= 500) << set.frames[i].delay;
            Uint32 frameKey;
            EXPECT_TRUE(getColorKey(f, &frameKey) && frameKey == SDL_MapRGB(f->format, 255, 0, 255));
            Pixels p(f, false);
            EXPECT_EQ(p.at(0, 0), key);
            solid.push_back(1.0 - (double)std::count(p.px.begin(), p.px.end(), key) / p.px.size());
            EXPECT_TRUE(solid[i] > 0.005 && solid[i] < 0.9) << "frame " << i << ": " << solid[i];
        }
        EXPECT_TRUE(strcmp(s.dir, "data/ship") != 0 || solid.back() < solid[0] / 4) << "blink frame not nearly empty";
        freeSpriteSet(&set);
    }
}

// Every glyph's ink lies inside the strip
// the game cuts for it (advance + 2 pixels wide, starting advance / 2 left of
// the cell centre), so no glyph is clipped; every printable character has ink.
TEST_F(AssetPack, GlyphsFitTheirStrips)
{
    for (const char *dir : { "data/font", "data/bigfont" }) {
        std::string raw = readString(path(dir) + "/font.raw"), dat = readString(path(dir) + "/font.dat");
        int sheet = atoi(readString(path(dir) + "/font.ini").c_str()), cell = sheet / 16;
        ASSERT_TRUE(sheet > 0 && raw.size() == (size_t)sheet * sheet && dat.size() == 256) << dir;
        for (int c = 0; c < 256; c++) {
            int adv = (unsigned char)dat[c], left = cell / 2 - adv / 2, ink = 0, outside = 0;
            for (int y = 0; y < cell; y++)
                for (int x = 0; x < cell; x++)
                    if (raw[(size_t)((c / 16) * cell + y) * sheet + (c % 16) * cell + x] != 0) {
                        ink++;
                        outside += x < left || x >= left + adv + 2;
                    }
            EXPECT_EQ(outside, 0) << dir << " code " << c;
            EXPECT_TRUE(c < 32 || c >= 127 || (adv > 0 && (ink > 3 || c == 32))) << dir << " code " << c;
        }
    }
}

TEST_F(AssetPack, GeneratorIsDeterministic)
{
    std::string again = generatedPack(true);
    EXPECT_EQ(system(("diff -r " + path("") + " " + again).c_str()), 0);
    removeTree(again);
}
