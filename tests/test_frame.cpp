// The composed frame: HUD texts and icons in their places, the layers and
// sprites in their order, read back in pixels from the dummy video surface.
#include <algorithm>
#include <string>
#include <tuple>
#include <gtest/gtest.h>
#include "tests/support.h"
#include "platform/surface.h"
#include "world/world.h"
#include "render/frame.h"

// Solid colours of the test pictures and sprites.
static const uint32_t bandC = 0x203040, frontC = 0x00C0C0, logoC = 0x808000, iconC = 0xFF8000,
                      overC = 0xC000C0, cornerC = 0x00FFFF, bulletC = 0xFF0000,
                      enemyC = 0x00A000, shipC = 0x0000FF, cloudC = 0xFFFF00;
// Test fonts: 8-pixel cells, every advance 8, every cell opaque in the colour
// (code, 0x80, id), so a pixel tells which font drew which character.
static const int bigId = 0x11, tintedId = 0x22, cell = 8;

// Fills the rectangle with rgb; returns the pixel value used.
static Uint32 fillRect(SDL_Surface *s, int x, int y, int w, int h, uint32_t rgb)
{
    SDL_Rect r = {(Sint16)x, (Sint16)y, (Uint16)w, (Uint16)h};
    Uint32 pixel = SDL_MapRGB(s->format, rgb >> 16, (rgb >> 8) & 255, rgb & 255);
    SDL_FillRect(s, &r, pixel);
    return pixel;
}

// A w x h picture in rgb, its colour itself keyed out when keyed.
static SDL_Surface *solid(int w, int h, uint32_t rgb, bool keyed = false)
{
    SDL_PixelFormat *f = openTestVideo()->format;
    SDL_Surface *s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, f->Rmask, f->Gmask, f->Bmask, 0);
    Uint32 pixel = fillRect(s, 0, 0, w, h, rgb);
    if (keyed)
        setColorKey(s, pixel);
    return s;
}

static BitmapFont *makeFont(int id)
{
    BitmapFont *font = new BitmapFont{solid(16 * cell, 16 * cell, 0), 16 * cell, cell, new int[256], nullptr};
    for (int code = 0; code < 256; code++) {
        font->advances[code] = cell;
        fillRect(font->sheet, code % 16 * cell, code / 16 * cell, cell, cell, code << 16 | 0x8000 | id);
    }
    return font;
}

// The text that font id shows from (x, y), up to the first cell it did not draw.
static std::string textAt(int id, int x, int y)
{
    std::string text;
    for (; x + 4 < 640; x += cell) {
        uint32_t c = pixelRGB(screen, x + 4, y + 3);
        if ((c & 0xFFFF) != (uint32_t)(0x8000 | id))
            break;
        text += (char)(c >> 16);
    }
    return text;
}

struct Px { int x, y; uint32_t rgb; };
static void expectPixels(std::initializer_list<Px> pixels)
{
    for (const Px &p : pixels)
        EXPECT_EQ(pixelRGB(screen, p.x, p.y), p.rgb) << "at " << p.x << "," << p.y;
}

// One 40x40 frame in rgb for set, shared by the n sprites of pool.
static void makeSprites(SpriteSet &set, uint32_t rgb, Sprite *pool, int n)
{
    set = SpriteSet{new SpriteFrame[1]{{solid(40, 40, rgb), 100}}, 1, 1, 40, 40};
    for (int i = 0; i < n; i++)
        pool[i].init(&set, screen);
}

class Frame : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        screen = openTestVideo();
        repeatImage = solid(640, 400, bandC);
        frontImage = solid(640, 400, 0xFFFFFF, true);
        fillRect(frontImage, 360, 140, 20, 40, frontC);      // screen 360..379 x 200..239
        logoImage = solid(60, 70, logoC);                     // reaches into the band
        smallShipImage = solid(25, 12, iconC);
        gameOverImage = solid(256, 80, 0x00FF00, true);
        fillRect(gameOverImage, 0, 0, 1, 1, cornerC);
        fillRect(gameOverImage, 160, 0, 40, 80, overC);      // screen 352..391 x 200..279
        bigFont = makeFont(bigId);
        tintedFont = makeFont(tintedId);
        makeSprites(bulletSet, bulletC, bullets, maxBullets);
        makeSprites(enemySet, enemyC, enemies, maxEnemies);
        makeSprites(cloudSet, cloudC, clouds, maxClouds);
        makeSprites(shipSet, shipC, &player, 1);
        player.setPos(320.0f, 200.0f);
    }

    void SetUp() override
    {
        lives = 5;
        scrollX = frontScrollX = 0.0f;
        score = highScore = paused = godMode = gameOver = 0;
        std::fill_n(bulletActive, maxBullets, 0);
        std::fill_n(enemyActive, maxEnemies, 0);
        std::fill_n(cloudActive, maxClouds, 0);
        fillRect(screen, 0, 0, 640, 480, 0xFFFFFF);   // last frame's leftovers
    }
};

TEST_F(Frame, HudShowsTheState)
{
    // Lives icon i covers x 250 - 30 i .. 274 - 30 i of rows 36..47, over the
    // logo and under the count's text; the tenth is cut off at the left edge.
    // Any non-zero pause shows PAUSED, only godMode 1 shows GOD; the best's
    // place shows the score with NEW HIGHSCORE once it is reached.
    // The lost game's lives of -1 are counted as 0 and left as they are.
    struct Case { int lives, shown, paused, god, score, high; const char *pausedText, *godText, *best; };
    const Case cases[] = {
        {0, 0, 0, 0, 0, 0, "", "", "0 NEW HIGHSCORE!!"},   // first run without a stored best
        {10, 10, 1, 1, 42, 42, "PAUSED", "GOD", "42 NEW HIGHSCORE!!"},
        {-1, 0, 0, 0, 100, 42, "", "", "100 NEW HIGHSCORE!!"},
        {5, 5, -1, 2, 1234, 99999, "PAUSED", "", "99999"},
    };
    for (const Case &c : cases) {
        std::tie(lives, paused, godMode, score, highScore) = std::tie(c.lives, c.paused, c.god, c.score, c.high);
        renderFrame();
        SCOPED_TRACE(testing::Message() << "lives " << c.lives << " paused " << c.paused << " god " << c.god);
        EXPECT_EQ(textAt(bigId, 80, 36), "LIVES: " + std::to_string(c.shown));
        EXPECT_EQ(lives, c.lives);
        EXPECT_EQ(textAt(tintedId, 400, 36), c.pausedText);
        EXPECT_EQ(textAt(tintedId, 350, 36), c.godText);
        EXPECT_EQ(pixelRGB(screen, 354, 39) != 0, *c.godText != 0);   // in no font at all
        EXPECT_EQ(textAt(bigId, 100, 460), std::to_string(c.score));
        EXPECT_EQ(textAt(bigId, 300, 460), c.best);
        for (int y : {35, 47, 48})
            for (int x = 0; x < 640; x++) {
                bool inIcon = false;
                for (int i = 0; i < c.lives; i++)
                    inIcon |= y == 47 && x >= 250 - 30 * i && x < 275 - 30 * i;
                ASSERT_EQ(pixelRGB(screen, x, y), inIcon ? iconC : x < 60 ? logoC : 0u) << x << "," << y;
            }
    }
    EXPECT_EQ(textAt(bigId, 10, 460), "SCORE:");
    EXPECT_EQ(textAt(bigId, 200, 460), "HIGHSCORE:");
    EXPECT_EQ(textAt(tintedId, 465, 460), creditLine);
    // A text's corner is exactly its (x, y): 'L' of LIVES from (80, 36); the
    // count's space covers icon 4. The rest is cleared, or the band with the
    // logo over it.
    expectPixels({{80, 36, 0x4C8011}, {79, 38, 0}, {84, 35, 0}, {133, 39, 0x208011}, {600, 10, 0},
                  {620, 475, 0}, {59, 69, logoC}, {60, 69, bandC}, {59, 70, bandC}});
}

TEST_F(Frame, LayersAndSpritesInOrder)
{
    // Staggered 40x40 squares, each later group overlapping the one before;
    // the last slots are drawn, flags other than exactly 1 are not.
    struct { Sprite &s; int &flag; int on; float x, y; } puts[] = {
        {bullets[0], bulletActive[0], 1, 300, 200},  {enemies[0], enemyActive[0], 1, 310, 200},
        {clouds[2], cloudActive[2], 1, 330, 200},    {bullets[49], bulletActive[49], 1, 100, 300},
        {enemies[49], enemyActive[49], 1, 100, 380}, {bullets[1], bulletActive[1], 2, 500, 300},
        {enemies[1], enemyActive[1], 2, 560, 300},   {clouds[0], cloudActive[0], 2, 440, 300}};
    for (auto &p : puts) {
        p.flag = p.on;
        p.s.setPos(p.x, p.y);
    }
    renderFrame();
    expectPixels({{305, 210, bulletC}, {315, 210, enemyC}, {325, 210, shipC}, {335, 210, cloudC},
                  {345, 210, cloudC}, {365, 210, frontC},   // front over the cloud, its white see-through
                  {355, 245, bandC}, {110, 310, bulletC}, {110, 390, enemyC}, {510, 310, bandC},
                  {570, 310, bandC}, {450, 310, bandC}, {192, 200, bandC}});
    // Game over: the picture's corner at (192, 200), over everything, its
    // green left out; the ship is still drawn.
    gameOver = 1;
    renderFrame();
    expectPixels({{192, 200, cornerC}, {191, 200, bandC}, {192, 199, bandC}, {365, 210, overC},
                  {355, 210, overC}, {345, 210, cloudC}, {325, 210, shipC}, {300, 260, bandC}});
}

TEST_F(Frame, NoDisplayNoDrawing)
{
    SDL_Surface *shown = screen;
    screen = nullptr;
    renderFrame();   // nothing to draw on, and no crash
    screen = shown;
    EXPECT_EQ(pixelRGB(screen, 600, 300), 0xFFFFFFu);
}
