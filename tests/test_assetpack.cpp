// The generated pictures, sprite sets and fonts: the game's own loaders read
// them at the sizes the screen layout needs, the colour-keyed pictures are
// cut cleanly, the scrolling strips have no seam, the HUD texts fit their
// places, and the generator writes the same bytes every time.
#include <gtest/gtest.h>
#include <dirent.h>
#include <sys/stat.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <algorithm>
#include <map>
#include "assets/bitmap.h"
#include "assets/font.h"
#include "assets/spriteset.h"
#include "tests/support.h"
#include "tools/assetgen/art.h"
#include "tools/assetgen/assetgen.h"

// Generates the picture, sprite and font pack into a fresh directory.
static std::string generatePack()
{
    std::string root = makeTempDir();
    EXPECT_TRUE(makeDirs(root + "/data") && makeDirs(root + "/Data"));
    EXPECT_TRUE(makePictures(root));
    EXPECT_TRUE(makeSpriteSets(root));
    EXPECT_TRUE(makeFonts(root));
    return root;
}

// One pack shared by the tests of this file; it takes a second to make.
static const std::string &pack()
{
    static std::string root = generatePack();
    return root;
}

static std::string path(const char *rel)
{
    return pack() + "/" + rel;
}

struct Rgb8 {
    int r, g, b;
    bool is(int R, int G, int B) const { return r == R && g == G && b == B; }
};

// All pixels of a surface, row by row.
struct Pixels {
    int w = 0, h = 0;
    std::vector<Rgb8> px;
    const Rgb8 &at(int x, int y) const { return px[(size_t)y * w + x]; }
};

static Pixels readPixels(SDL_Surface *s)
{
    Pixels p;
    p.w = s->w;
    p.h = s->h;
    for (int y = 0; y < s->h; y++)
        for (int x = 0; x < s->w; x++) {
            uint32_t c = pixelRGB(s, x, y);
            p.px.push_back({ (int)(c >> 16), (int)(c >> 8) & 255, (int)c & 255 });
        }
    return p;
}

static Pixels loadPixels(const char *rel)
{
    SDL_Surface *s = SDL_LoadBMP(path(rel).c_str());
    Pixels p;
    if (!s) {
        ADD_FAILURE() << rel << ": " << SDL_GetError();
        return p;
    }
    p = readPixels(s);
    SDL_FreeSurface(s);
    return p;
}

// The BMP writer and the keying step every picture goes through: rows and
// channels land where SDL's reader expects them (3 px wide needs row padding),
// a solid pixel that happens to be the key colour is moved off it, and a
// picture holding a NaN is refused rather than written with a stray byte.
TEST(DrawingKit, BmpRowsKeysAndNaNs)
{
    std::string dir = makeTempDir();
    art::Image img(3, 2, art::rgb(0, 0, 0));
    for (int y = 0; y < 2; y++)
        for (int x = 0; x < 3; x++)
            img.at(x, y) = art::rgb(40.0f * x + 10, 100.0f * y + 20, 200.4f);
    ASSERT_TRUE(art::saveBmp(dir + "/grid.bmp", img));
    SDL_Surface *s = SDL_LoadBMP((dir + "/grid.bmp").c_str());
    ASSERT_NE(s, nullptr) << SDL_GetError();
    for (int y = 0; y < 2; y++)
        for (int x = 0; x < 3; x++)
            EXPECT_EQ(pixelRGB(s, x, y), (uint32_t)(((40 * x + 10) << 16) | ((100 * y + 20) << 8) | 200));
    SDL_FreeSurface(s);

    art::Image keyed(2, 1, art::rgb(255, 0, 255));
    std::vector<uint8_t> solid = { 1, 0 };
    art::applyKey(keyed, solid, art::rgb(255, 0, 255));
    EXPECT_FALSE(keyed.get(0, 0).r == 255 && keyed.get(0, 0).g == 0 && keyed.get(0, 0).b == 255);
    EXPECT_NEAR(keyed.get(0, 0).g, 0.0f, 1.0f);

    img.at(1, 1).g = NAN;
    EXPECT_FALSE(art::saveBmp(dir + "/nan.bmp", img));
}

// The strips are seamless because every noise repeats over the strip's
// period whatever its number of cells; the noise must still vary.
TEST(DrawingKit, NoiseRepeatsOverItsPeriod)
{
    const int period = 3909;
    float lo = 1.0f, hi = 0.0f;
    for (int i = 0; i < 200; i++) {
        float x = i * 19.37f;
        float y = i * 1.9f;
        EXPECT_NEAR(art::noise1(x, period, 23, 5), art::noise1(x + period, period, 23, 5), 1e-3f);
        EXPECT_NEAR(art::fbm1(x, period, 9, 5, 6), art::fbm1(x - period, period, 9, 5, 6), 1e-3f);
        EXPECT_NEAR(art::fbm2(x, y, period, 31, 20.0f, 4, 7), art::fbm2(x + period, y, period, 31, 20.0f, 4, 7),
                    1e-3f);
        float v = art::noise1(x, period, 23, 5);
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    EXPECT_GE(lo, 0.0f);
    EXPECT_LE(hi, 1.0f);
    EXPECT_GT(hi - lo, 0.5f);
}

// Keyed sprites take a pixel as solid from half coverage on, and the outline
// ring only grows into empty pixels next to solid ones.
TEST(DrawingKit, KeyedCanvasCutsAtHalfCoverage)
{
    art::Canvas c(5, 1, 4);
    art::fillPolygon(c, { { 0, 0 }, { 2.5f, 0 }, { 2.5f, 1 }, { 0, 1 } }, art::flat(art::rgb(200, 100, 50)));
    art::Image img(1, 1, art::rgb(0, 0, 0));
    std::vector<uint8_t> solid;
    art::resolveKeyed(c, img, solid, nullptr, false);
    EXPECT_EQ(solid, std::vector<uint8_t>({ 1, 1, 1, 0, 0 }));
    EXPECT_FLOAT_EQ(img.get(2, 0).r, 200.0f);
    const art::Rgb dark = { 10, 10, 10 };
    art::resolveKeyed(c, img, solid, &dark, false);
    EXPECT_EQ(solid, std::vector<uint8_t>({ 1, 1, 1, 1, 0 }));
    EXPECT_FLOAT_EQ(img.get(3, 0).r, 10.0f);
    EXPECT_FLOAT_EQ(img.get(1, 0).r, 200.0f);
}

class AssetPack : public testing::Test {
protected:
    void SetUp() override { ASSERT_NE(openTestVideo(), nullptr); }
};

TEST_F(AssetPack, PicturesLoadAtTheirSizes)
{
    struct { const char *file; int minW, minH, maxW, maxH; } pics[] = {
        { "data/title.bmp", 640, 480, 640, 480 },
        { "data/repeat.bmp", 3909, 400, 3909, 400 },
        { "data/front.bmp", 3909, 400, 3909, 400 },
        { "data/logo.bmp", 20, 20, 78, 60 },        // left of the lives text at x 80
        { "data/smallship.bmp", 12, 8, 28, 24 },    // icons 30 px apart, rows 36..59
    };
    for (auto &p : pics) {
        SCOPED_TRACE(p.file);
        SDL_Surface *s = loadBitmap(path(p.file).c_str());
        ASSERT_NE(s, nullptr) << SDL_GetError();
        EXPECT_GE(s->w, p.minW);
        EXPECT_LE(s->w, p.maxW);
        EXPECT_GE(s->h, p.minH);
        EXPECT_LE(s->h, p.maxH);
        SDL_FreeSurface(s);
    }
    // the game-over picture is read unconverted and drawn at (192, 200)
    SDL_Surface *over = SDL_LoadBMP(path("data/gameover.bmp").c_str());
    ASSERT_NE(over, nullptr) << SDL_GetError();
    EXPECT_EQ(over->format->BitsPerPixel, 24);
    EXPECT_GE(over->w, 160);
    EXPECT_LE(192 + over->w, 640);
    EXPECT_LE(200 + over->h, 460);
    SDL_FreeSurface(over);
}

// "LOADING" is drawn in yellow at (36, 36) over the title picture: that
// corner must stay dark and calm for the text to read.
TEST_F(AssetPack, TitleLeavesTheLoadingCornerDark)
{
    Pixels title = loadPixels("data/title.bmp");
    ASSERT_EQ(title.w, 640);
    int brightest = 0;
    for (int y = 32; y < 56; y++)
        for (int x = 32; x < 124; x++) {
            const Rgb8 &c = title.at(x, y);
            brightest = std::max(brightest, std::max(c.r, std::max(c.g, c.b)));
        }
    EXPECT_LT(brightest, 90);
    // while the picture as a whole is not just dark
    int bright = 0;
    for (const Rgb8 &c : title.px)
        bright += c.r + c.g + c.b > 450;
    EXPECT_GT(bright, 2000);
}

// The game's own text routine writes "LOADING" over the title: the yellow
// letters must come out clearly on that corner.
TEST_F(AssetPack, LoadingTextShowsOnTheTitle)
{
    SDL_Surface *title = loadBitmap(path("data/title.bmp").c_str());
    BitmapFont *yellow = loadFont(path("data/font").c_str(), 1, 1, 0);
    ASSERT_NE(title, nullptr);
    ASSERT_NE(yellow, nullptr);
    drawText(title, yellow, 36, 36, "LOADING");
    int lit = 0, outside = 0;
    for (int y = 20; y < 70; y++)
        for (int x = 20; x < 150; x++) {
            uint32_t c = pixelRGB(title, x, y);
            bool yellowish = (c >> 16) > 200 && ((c >> 8) & 255) > 200 && (c & 255) < 120;
            bool inText = x >= 36 && x < 36 + textWidth(yellow, "LOADING") + 2 && y >= 36 && y < 52;
            lit += yellowish && inText;
            outside += yellowish && !inText;
        }
    EXPECT_GT(lit, 120);
    EXPECT_EQ(outside, 0);
    freeFont(yellow);
    SDL_FreeSurface(title);
}

// Mean |a - b| per channel over all rows, between two columns.
static double columnDiff(const Pixels &p, int a, int b)
{
    double sum = 0;
    for (int y = 0; y < p.h; y++) {
        const Rgb8 &u = p.at(a, y), &v = p.at(b, y);
        sum += abs(u.r - v.r) + abs(u.g - v.g) + abs(u.b - v.b);
    }
    return sum / (3.0 * p.h);
}

// Both layers repeat every 3909 columns: going from the last column to the
// first must look like an ordinary step between neighbouring columns. The
// bar is the 90th percentile, since the rare big steps (star, spire and tower
// edges) would let a real seam through.
TEST_F(AssetPack, StripsAreSeamless)
{
    for (const char *file : { "data/repeat.bmp", "data/front.bmp" }) {
        SCOPED_TRACE(file);
        Pixels p = loadPixels(file);
        ASSERT_EQ(p.w, 3909);
        std::vector<double> steps;
        for (int x = 0; x + 1 < p.w; x++)
            steps.push_back(columnDiff(p, x, x + 1));
        std::sort(steps.begin(), steps.end());
        double p90 = steps[steps.size() * 90 / 100];
        EXPECT_LE(columnDiff(p, 3908, 0), 1.5 * p90);
        // and the strip is not one flat colour that would pass trivially
        EXPECT_GT(p90, 0.5);
    }
}

// The front layer is keyed on white: white sky above, solid ground below
// with no white holes, no pale fringe where the ground meets the key, and
// the upper band left open for flying.
TEST_F(AssetPack, FrontLayerIsCutCleanlyOnWhite)
{
    Pixels p = loadPixels("data/front.bmp");
    ASSERT_EQ(p.w, 3909);
    auto white = [&](int x, int y) { return p.at(x, y).is(255, 255, 255); };
    int holes = 0, fringe = 0, openColumns = 0, whiteTop = 0;
    for (int x = 0; x < p.w; x++) {
        for (int y = 380; y < 400; y++)
            holes += white(x, y);
        bool open = true;
        for (int y = 0; y < 330; y++)
            open = open && white(x, y);
        openColumns += open;
        for (int y = 0; y < 200; y++)
            whiteTop += white(x, y);
        for (int y = 0; y < p.h; y++) {
            if (white(x, y))
                continue;
            bool touchesKey = (x > 0 && white(x - 1, y)) || (x + 1 < p.w && white(x + 1, y))
                              || (y > 0 && white(x, y - 1)) || (y + 1 < p.h && white(x, y + 1));
            const Rgb8 &c = p.at(x, y);
            if (touchesKey && std::min(c.r, std::min(c.g, c.b)) > 200)
                fringe++;
        }
    }
    EXPECT_EQ(holes, 0);
    EXPECT_EQ(fringe, 0);
    EXPECT_GT(openColumns, p.w * 9 / 10);
    EXPECT_GT(whiteTop, p.w * 200 * 97 / 100);
}

// The game-over picture is keyed on pure green: a green border, lettering
// with no green in it, and only dark pixels where the letters meet the key.
TEST_F(AssetPack, GameOverIsCutCleanlyOnGreen)
{
    Pixels p = loadPixels("data/gameover.bmp");
    ASSERT_GT(p.w, 0);
    auto key = [&](int x, int y) { return p.at(x, y).is(0, 255, 0); };
    int border = 0, borderKey = 0, visible = 0, greenish = 0, brightEdge = 0;
    for (int y = 0; y < p.h; y++)
        for (int x = 0; x < p.w; x++) {
            if (x < 2 || y < 2 || x >= p.w - 2 || y >= p.h - 2) {
                border++;
                borderKey += key(x, y);
            }
            if (key(x, y))
                continue;
            visible++;
            const Rgb8 &c = p.at(x, y);
            greenish += c.g > c.r + 60 && c.g > c.b + 60;
            bool touchesKey = (x > 0 && key(x - 1, y)) || (x + 1 < p.w && key(x + 1, y))
                              || (y > 0 && key(x, y - 1)) || (y + 1 < p.h && key(x, y + 1));
            if (touchesKey && c.r + c.g + c.b > 240)
                brightEdge++;
        }
    EXPECT_EQ(borderKey, border);
    EXPECT_GT(visible, p.w * p.h / 6);
    EXPECT_EQ(greenish, 0);
    EXPECT_EQ(brightEdge, 0);
}

// Key colour of a loaded frame as 0xRRGGBB, or -1.
static long frameKey(const SpriteFrame &f)
{
    if (!(f.surface->flags & SDL_SRCCOLORKEY))
        return -1;
    Uint8 r, g, b;
    SDL_GetRGB(f.surface->format->colorkey, f.surface->format, &r, &g, &b);
    return (r << 16) | (g << 8) | b;
}

// Fraction of a frame's pixels that are not its key colour.
static double solidShare(const SpriteFrame &f, long key)
{
    Pixels p = readPixels(f.surface);
    int solid = 0;
    for (const Rgb8 &c : p.px)
        solid += ((c.r << 16) | (c.g << 8) | c.b) != key;
    return (double)solid / p.px.size();
}

TEST_F(AssetPack, SpriteSetsLoadWithinTheirLimits)
{
    struct { const char *dir; int minFrames, maxFrames, maxW, maxH; } sets[] = {
        { "data/ship", 3, 4, 70, 49 },      // taller than 49 rows hits the band's edge
        { "data/bullet", 1, 2, 24, 10 },
        { "data/enemy", 2, 4, 50, 50 },     // a new enemy shows frame 0 or 1
        { "Data/cloud", 1, 2, 160, 50 },
    };
    for (auto &s : sets) {
        SCOPED_TRACE(s.dir);
        SpriteSet set;
        memset(&set, 0, sizeof(set));
        ASSERT_EQ(loadSpriteSet(&set, path(s.dir).c_str()), 0);
        EXPECT_GE(set.frameCount, s.minFrames);
        EXPECT_LE(set.frameCount, s.maxFrames);
        for (int i = 0; i < set.frameCount; i++) {
            SCOPED_TRACE(i);
            const SpriteFrame &f = set.frames[i];
            ASSERT_NE(f.surface, nullptr);
            EXPECT_LE(f.surface->w, s.maxW);
            EXPECT_LE(f.surface->h, s.maxH);
            EXPECT_GE(f.delay, 40);
            EXPECT_LE(f.delay, 500);
            long key = frameKey(f);
            EXPECT_EQ(key, 0xFF00FF);
            // the key cuts a shape out: some of each, corners transparent
            double share = solidShare(f, key);
            EXPECT_GT(share, 0.005);
            EXPECT_LT(share, 0.9);
            EXPECT_EQ(pixelRGB(f.surface, 0, 0), 0xFF00FFu);
        }
        freeSpriteSet(&set);
    }
}

// Bullets leave the ship 70 px right of and 19 px below its corner, so the
// ship's nose and cannon must be at its right edge around those rows. The
// last blink frame is nearly empty, so the invulnerable ship flickers.
TEST_F(AssetPack, ShipFiresFromItsNose)
{
    SpriteSet set;
    memset(&set, 0, sizeof(set));
    ASSERT_EQ(loadSpriteSet(&set, path("data/ship").c_str()), 0);
    ASSERT_GE(set.frameCount, 3);
    Pixels ship = readPixels(set.frames[0].surface);
    bool nose = false;
    for (int y = 18; y <= 25; y++)
        for (int x = ship.w - 4; x < ship.w; x++)
            nose = nose || !ship.at(x, y).is(255, 0, 255);
    EXPECT_TRUE(nose);
    double normal = solidShare(set.frames[0], 0xFF00FF);
    double flameOnly = solidShare(set.frames[set.frameCount - 1], 0xFF00FF);
    EXPECT_LT(flameOnly, normal / 4);
    freeSpriteSet(&set);
}

TEST_F(AssetPack, FontsFitTheHud)
{
    BitmapFont *yellow = loadFont(path("data/font").c_str(), 1, 1, 0);
    BitmapFont *big = loadFont(path("data/bigfont").c_str());
    ASSERT_NE(yellow, nullptr);
    ASSERT_NE(big, nullptr);
    EXPECT_EQ(yellow->sheetSize, 256);
    EXPECT_LE(big->cellSize, 20);                  // the bottom HUD line is 20 rows
    // the bottom line's texts start at x 10, 100, 200, 300 and the credit at 465
    EXPECT_LE(textWidth(big, "SCORE:"), 90);
    EXPECT_LE(textWidth(big, "HIGHSCORE:"), 100);
    EXPECT_LE(textWidth(big, "%d NEW HIGHSCORE!!", 0), 165);
    EXPECT_LE(465 + textWidth(yellow, "DRIFTWING 1.0"), 640);
    EXPECT_GE(textWidth(yellow, "LOADING"), 50);
    EXPECT_LE(textWidth(yellow, "LOADING"), 100);
    for (int c = 33; c < 127; c++) {
        EXPECT_GT(yellow->advances[c], 0) << c;
        EXPECT_GT(big->advances[c], 0) << c;
    }
    EXPECT_GT(big->advances[' '], 0);
    freeFont(yellow);
    freeFont(big);
}

// The game cuts each glyph from its cell as a strip advance + 2 pixels wide,
// starting advance / 2 left of the cell centre. All of a glyph's ink must be
// inside that strip (else it is clipped), and every printable character
// must have ink.
TEST_F(AssetPack, GlyphsSitInsideTheirStrips)
{
    for (const char *dir : { "data/font", "data/bigfont" }) {
        SCOPED_TRACE(dir);
        std::string raw = readString(path(dir) + "/font.raw");
        std::string dat = readString(path(dir) + "/font.dat");
        int sheet = atoi(readString(path(dir) + "/font.ini").c_str());
        ASSERT_GT(sheet, 0);
        ASSERT_EQ(raw.size(), (size_t)sheet * sheet);
        ASSERT_EQ(dat.size(), 256u);
        int cell = sheet / 16;
        for (int c = 0; c < 256; c++) {
            int adv = (unsigned char)dat[c];
            int left = cell / 2 - adv / 2, right = left + adv + 2;
            int ink = 0, outside = 0;
            for (int y = 0; y < cell; y++)
                for (int x = 0; x < cell; x++) {
                    int v = (unsigned char)raw[(size_t)((c / 16) * cell + y) * sheet + (c % 16) * cell + x];
                    if (v == 0)
                        continue;
                    ink++;
                    outside += x < left || x >= right;
                }
            EXPECT_EQ(outside, 0) << "code " << c;
            if (c > 32 && c < 127) {
                EXPECT_GT(ink, 3) << "code " << c;
            }
        }
    }
}

// Every regular file below dir, by path relative to dir.
static void listFiles(const std::string &dir, const std::string &rel, std::map<std::string, std::string> &out)
{
    DIR *d = opendir(dir.c_str());
    if (!d)
        return;
    while (dirent *e = readdir(d)) {
        std::string name = e->d_name;
        if (name == "." || name == "..")
            continue;
        std::string full = dir + "/" + name;
        struct stat st;
        if (stat(full.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
            listFiles(full, rel + name + "/", out);
        else
            out[rel + name] = readString(full);
    }
    closedir(d);
}

TEST_F(AssetPack, GeneratorIsDeterministic)
{
    std::string again = generatePack();
    std::map<std::string, std::string> a, b;
    listFiles(pack(), "", a);
    listFiles(again, "", b);
    EXPECT_GE(a.size(), 25u);       // 6 pictures, 4 sets, 2 fonts
    ASSERT_EQ(a.size(), b.size());
    for (auto &f : a) {
        SCOPED_TRACE(f.first);
        ASSERT_TRUE(b.count(f.first));
        EXPECT_TRUE(f.second == b[f.first]);
    }
}
