// The composed frame: the layers, the logo and the sprites in their order,
// read back in pixels from the dummy video surface (the HUD's texts and icons
// are compared with the frame by the HUD layout test).
#include <algorithm>
#include <gtest/gtest.h>
#include "tests/support.h"
#include "platform/surface.h"
#include "world/world.h"
#include "render/frame.h"

// Solid colours of the test pictures and sprites.
static const uint32_t bandC = 0x203040, frontC = 0x00C0C0, logoC = 0x808000,
                      overC = 0xC000C0, cornerC = 0x00FFFF, bulletC = 0xFF0000,
                      enemyC = 0x00A000, shipC = 0x0000FF, cloudC = 0xFFFF00;

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
        gameOverImage = solid(256, 80, 0x00FF00, true);
        fillRect(gameOverImage, 0, 0, 1, 1, cornerC);
        fillRect(gameOverImage, 160, 0, 40, 80, overC);      // screen 352..391 x 200..279
        makeSprites(bulletSet, bulletC, bullets, maxBullets);
        makeSprites(enemySet, enemyC, enemies, maxEnemies);
        makeSprites(cloudSet, cloudC, clouds, maxClouds);
        makeSprites(shipSet, shipC, &player, 1);
        player.setPos(320.0f, 200.0f);
    }

    void SetUp() override
    {
        scrollX = frontScrollX = 0.0f;
        gameOver = 0;
        std::fill_n(bulletActive, maxBullets, 0);
        std::fill_n(enemyActive, maxEnemies, 0);
        std::fill_n(cloudActive, maxClouds, 0);
        fillRect(screen, 0, 0, 640, 480, 0xFFFFFF);   // last frame's leftovers
    }
};

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
                  {570, 310, bandC}, {450, 310, bandC}, {192, 200, bandC},
                  // cleared outside the band, with the logo over the band
                  {600, 10, 0}, {620, 475, 0}, {59, 69, logoC}, {60, 69, bandC}, {59, 70, bandC}});
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
