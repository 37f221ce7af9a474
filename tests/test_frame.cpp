// The composed frame: HUD texts and icons in their places, the layers and
// sprites in their order, read back in pixels from the dummy video surface.
#include <string>
#include <gtest/gtest.h>
#include "tests/support.h"
#include "game/world.h"
#include "render/frame.h"

// Solid colours of the test pictures and sprites.
static const uint32_t bandColour = 0x203040;
static const uint32_t frontColour = 0x00C0C0;
static const uint32_t logoColour = 0x808000;
static const uint32_t iconColour = 0xFF8000;
static const uint32_t overColour = 0xC000C0;
static const uint32_t cornerColour = 0x00FFFF;
static const uint32_t bulletColour = 0xFF0000;
static const uint32_t enemyColour = 0x00A000;
static const uint32_t shipColour = 0x0000FF;
static const uint32_t cloudColour = 0xFFFF00;

// Test fonts: 8-pixel cells, every advance 8, every cell fully opaque in the
// colour (code, 0x80, id), so a pixel tells which font drew which character.
static const int bigId = 0x11;
static const int tintedId = 0x22;
static const int cell = 8;

static Uint32 mapRGB(SDL_Surface *s, uint32_t rgb)
{
    return SDL_MapRGB(s->format, rgb >> 16, (rgb >> 8) & 255, rgb & 255);
}

static SDL_Surface *solid(int w, int h, uint32_t rgb)
{
    SDL_PixelFormat *f = openTestVideo()->format;
    SDL_Surface *s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, f->Rmask, f->Gmask, f->Bmask, 0);
    SDL_FillRect(s, NULL, mapRGB(s, rgb));
    return s;
}

static void fillRect(SDL_Surface *s, int x, int y, int w, int h, uint32_t rgb)
{
    SDL_Rect r = {(Sint16)x, (Sint16)y, (Uint16)w, (Uint16)h};
    SDL_FillRect(s, &r, mapRGB(s, rgb));
}

static BitmapFont *makeFont(int id)
{
    BitmapFont *font = new BitmapFont();
    font->sheetSize = 16 * cell;
    font->cellSize = cell;
    font->sheet = SDL_CreateRGBSurface(SDL_SWSURFACE | SDL_SRCALPHA, 16 * cell, 16 * cell, 32,
                                       0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000);
    SDL_SetAlpha(font->sheet, SDL_SRCALPHA, 255);
    for (int code = 0; code < 256; code++) {
        SDL_Rect r = {(Sint16)(code % 16 * cell), (Sint16)(code / 16 * cell), cell, cell};
        SDL_FillRect(font->sheet, &r, SDL_MapRGBA(font->sheet->format, code, 0x80, id, 255));
    }
    font->advances = new int[256];
    for (int i = 0; i < 256; i++)
        font->advances[i] = cell;
    font->pixelBuffer = nullptr;
    return font;
}

// The text that font id shows from (x, y): one character per cell, up to
// the first cell not drawn by that font.
static std::string textAt(int id, int x, int y)
{
    std::string text;
    for (int i = 0; i < 64 && x + i * cell + 4 < 640; i++) {
        uint32_t c = pixelRGB(screen, x + i * cell + 4, y + 3);
        if ((c & 0xFFFF) != (uint32_t)(0x8000 | id))
            break;
        text += (char)(c >> 16);
    }
    return text;
}

static SpriteSet makeSet(int w, int h, uint32_t rgb)
{
    SpriteSet set;
    set.frames = new SpriteFrame[1];
    set.frames[0].surface = solid(w, h, rgb);
    set.frames[0].delay = 100;
    set.loaded = 1;
    set.frameCount = 1;
    set.frameWidth = w;
    set.frameHeight = h;
    return set;
}

class Frame : public ::testing::Test {
protected:
    static SDL_Surface *band, *front, *logo, *icon, *over;
    static BitmapFont *big, *tinted;

    static void SetUpTestSuite()
    {
        screen = openTestVideo();
        band = solid(640, 400, bandColour);
        front = solid(640, 400, 0xFFFFFF);
        fillRect(front, 360, 140, 20, 40, frontColour);     // screen 360..379 x 200..239
        SDL_SetColorKey(front, SDL_SRCCOLORKEY, mapRGB(front, 0xFFFFFF));
        logo = solid(60, 70, logoColour);                    // reaches into the band
        icon = solid(25, 12, iconColour);
        over = solid(256, 80, 0x00FF00);
        fillRect(over, 0, 0, 1, 1, cornerColour);
        fillRect(over, 160, 0, 40, 80, overColour);          // screen 352..391 x 200..279
        SDL_SetColorKey(over, SDL_SRCCOLORKEY, mapRGB(over, 0x00FF00));
        big = makeFont(bigId);
        tinted = makeFont(tintedId);

        bulletSet = makeSet(40, 40, bulletColour);
        enemySet = makeSet(40, 40, enemyColour);
        shipSet = makeSet(40, 40, shipColour);
        cloudSet = makeSet(40, 40, cloudColour);
        for (int i = 0; i < maxBullets; i++)
            bullets[i].init(&bulletSet, screen);
        for (int j = 0; j < maxEnemies; j++)
            enemies[j].init(&enemySet, screen);
        for (int c = 0; c < maxClouds; c++)
            clouds[c].init(&cloudSet, screen);
        player.init(&shipSet, screen);
    }

    void SetUp() override
    {
        screen = openTestVideo();
        repeatImage = band;
        frontImage = front;
        logoImage = logo;
        smallShipImage = icon;
        gameOverImage = over;
        bigFont = big;
        tintedFont = tinted;
        scrollX = frontScrollX = 0.0f;
        lives = 5;
        score = highScore = 0;
        paused = godMode = gameOver = 0;
        for (int i = 0; i < maxBullets; i++)
            bulletActive[i] = 0;
        for (int j = 0; j < maxEnemies; j++)
            enemyActive[j] = 0;
        for (int c = 0; c < maxClouds; c++)
            cloudActive[c] = 0;
        player.stopAnim();
        player.setFrame(0);
        player.setPos(320.0f, 200.0f);
        SDL_FillRect(screen, NULL, mapRGB(screen, 0xFFFFFF));  // last frame's leftovers
    }
};
SDL_Surface *Frame::band, *Frame::front, *Frame::logo, *Frame::icon, *Frame::over;
BitmapFont *Frame::big, *Frame::tinted;

TEST_F(Frame, ClearsAndPlacesHudTexts)
{
    score = 1234;
    highScore = 99999;
    renderFrame();

    EXPECT_EQ(textAt(bigId, 80, 36), "LIVES: 5");
    EXPECT_EQ(textAt(bigId, 10, 460), "SCORE:");
    EXPECT_EQ(textAt(bigId, 100, 460), "1234");
    EXPECT_EQ(textAt(bigId, 200, 460), "HIGHSCORE:");
    EXPECT_EQ(textAt(bigId, 300, 460), "99999");
    EXPECT_EQ(textAt(tintedId, 465, 460), creditLine);
    EXPECT_EQ(textAt(tintedId, 400, 36), "");   // not paused
    EXPECT_EQ(textAt(tintedId, 350, 36), "");   // not in god mode

    // The text's top-left corner is exactly its (x, y).
    EXPECT_EQ(pixelRGB(screen, 80, 36), 0x4C8011u);     // 'L' in the big font
    EXPECT_EQ(pixelRGB(screen, 87, 43), 0x4C8011u);
    EXPECT_EQ(pixelRGB(screen, 79, 38), 0u);
    EXPECT_EQ(pixelRGB(screen, 84, 35), 0u);
    EXPECT_EQ(pixelRGB(screen, 84, 44), 0u);

    // Cleared where nothing is drawn; the band and the logo over it.
    EXPECT_EQ(pixelRGB(screen, 600, 10), 0u);
    EXPECT_EQ(pixelRGB(screen, 620, 475), 0u);
    EXPECT_EQ(pixelRGB(screen, 600, 300), bandColour);
    EXPECT_EQ(pixelRGB(screen, 0, 0), logoColour);
    EXPECT_EQ(pixelRGB(screen, 59, 69), logoColour);
    EXPECT_EQ(pixelRGB(screen, 60, 69), bandColour);
    EXPECT_EQ(pixelRGB(screen, 59, 70), bandColour);
}

TEST_F(Frame, PausedAndGodOnlyWhenSet)
{
    paused = 1;
    godMode = 1;
    renderFrame();
    EXPECT_EQ(textAt(tintedId, 400, 36), "PAUSED");
    EXPECT_EQ(textAt(tintedId, 350, 36), "GOD");

    paused = 0;
    godMode = 2;   // only exactly 1 counts
    renderFrame();
    EXPECT_EQ(textAt(tintedId, 400, 36), "");
    EXPECT_EQ(textAt(tintedId, 350, 36), "");
    EXPECT_EQ(pixelRGB(screen, 354, 39), 0u);

    paused = -1;   // any non-zero value pauses
    godMode = 0;
    renderFrame();
    EXPECT_EQ(textAt(tintedId, 400, 36), "PAUSED");
    EXPECT_EQ(textAt(tintedId, 350, 36), "");
}

TEST_F(Frame, BestScoreOrNewHighscoreForm)
{
    struct Case { int score, high; const char *shown; };
    const Case cases[] = {
        {0, 0, "0 NEW HIGHSCORE!!"},      // first run without a stored best
        {42, 42, "42 NEW HIGHSCORE!!"},   // equal counts as reached
        {41, 42, "42"},
        {100, 42, "100 NEW HIGHSCORE!!"},
    };
    for (const Case &c : cases) {
        score = c.score;
        highScore = c.high;
        renderFrame();
        EXPECT_EQ(textAt(bigId, 300, 460), c.shown) << c.score << " vs " << c.high;
        EXPECT_EQ(textAt(bigId, 100, 460), std::to_string(c.score));
        EXPECT_EQ(highScore, c.high);
    }
}

TEST_F(Frame, LivesIconsRunLeftFrom250UnderTheCount)
{
    // Icon i spans x .. x + 24 at x = 250 - 30 * i; the 5 columns after it
    // are a gap (logo under the leftmost ones).
    auto iconsAt = [](int count) {
        for (int i = 0; i < count; i++) {
            int x = 250 - 30 * i;
            EXPECT_EQ(pixelRGB(screen, x < 0 ? 2 : x + 12, 46), iconColour) << "icon " << i;
            EXPECT_EQ(pixelRGB(screen, x + 27, 46), x + 27 < 60 ? logoColour : 0u)
                << "gap after icon " << i;
        }
        int next = 250 - 30 * count;
        if (next + 24 >= 0) {
            EXPECT_NE(pixelRGB(screen, next < 0 ? 0 : next + 12, 46), iconColour)
                << "one icon too many";
        }
    };

    renderFrame();
    iconsAt(5);
    EXPECT_EQ(pixelRGB(screen, 250, 36), iconColour);
    EXPECT_EQ(pixelRGB(screen, 249, 36), 0u);
    EXPECT_EQ(pixelRGB(screen, 274, 47), iconColour);
    EXPECT_EQ(pixelRGB(screen, 275, 47), 0u);
    EXPECT_EQ(pixelRGB(screen, 274, 48), 0u);
    EXPECT_EQ(pixelRGB(screen, 133, 39), 0x208011u);  // the count's space covers icon 4

    lives = 10;   // the last icon at x = -20, cut off at the left edge
    renderFrame();
    iconsAt(10);
    EXPECT_EQ(pixelRGB(screen, 4, 46), iconColour);
    EXPECT_EQ(pixelRGB(screen, 5, 46), logoColour);
    EXPECT_EQ(textAt(bigId, 80, 36), "LIVES: 10");

    for (int none : {0, -1}) {
        lives = none;
        renderFrame();
        for (int x = 0; x < 640; x++)
            ASSERT_NE(pixelRGB(screen, x, 46), iconColour) << "lives " << none << " x " << x;
        EXPECT_EQ(textAt(bigId, 80, 36), "LIVES: " + std::to_string(none));
    }
}

TEST_F(Frame, LayersAndSpritesInOrder)
{
    // Staggered 40x40 squares: each later group overlaps the one before.
    bulletActive[0] = 1;
    bullets[0].setPos(300.0f, 200.0f);
    enemyActive[0] = 1;
    enemies[0].setPos(310.0f, 200.0f);
    cloudActive[2] = 1;
    clouds[2].setPos(330.0f, 200.0f);
    // The last slots are drawn too; flags other than exactly 1 are not.
    bulletActive[49] = 1;
    bullets[49].setPos(100.0f, 300.0f);
    enemyActive[49] = 1;
    enemies[49].setPos(100.0f, 380.0f);
    bulletActive[1] = 2;
    bullets[1].setPos(500.0f, 300.0f);
    enemyActive[1] = 2;
    enemies[1].setPos(560.0f, 300.0f);
    cloudActive[0] = 2;
    clouds[0].setPos(440.0f, 300.0f);

    renderFrame();
    EXPECT_EQ(pixelRGB(screen, 305, 210), bulletColour);
    EXPECT_EQ(pixelRGB(screen, 315, 210), enemyColour);   // enemy over bullet
    EXPECT_EQ(pixelRGB(screen, 325, 210), shipColour);    // ship over enemy
    EXPECT_EQ(pixelRGB(screen, 335, 210), cloudColour);   // cloud over ship
    EXPECT_EQ(pixelRGB(screen, 345, 210), cloudColour);   // front's white lets it show
    EXPECT_EQ(pixelRGB(screen, 365, 210), frontColour);   // front layer over cloud
    EXPECT_EQ(pixelRGB(screen, 355, 245), bandColour);    // front's white is see-through
    EXPECT_EQ(pixelRGB(screen, 110, 310), bulletColour);
    EXPECT_EQ(pixelRGB(screen, 110, 390), enemyColour);
    EXPECT_EQ(pixelRGB(screen, 510, 310), bandColour);
    EXPECT_EQ(pixelRGB(screen, 570, 310), bandColour);
    EXPECT_EQ(pixelRGB(screen, 450, 310), bandColour);
    EXPECT_EQ(pixelRGB(screen, 192, 200), bandColour);    // no game-over picture yet

    // Game over: the picture goes on top of everything, green left out; the
    // ship is still drawn.
    gameOver = 1;
    lives = -1;
    renderFrame();
    EXPECT_EQ(pixelRGB(screen, 192, 200), cornerColour);
    EXPECT_EQ(pixelRGB(screen, 191, 200), bandColour);
    EXPECT_EQ(pixelRGB(screen, 192, 199), bandColour);
    EXPECT_EQ(pixelRGB(screen, 365, 210), overColour);
    EXPECT_EQ(pixelRGB(screen, 355, 210), overColour);
    EXPECT_EQ(pixelRGB(screen, 345, 210), cloudColour);
    EXPECT_EQ(pixelRGB(screen, 325, 210), shipColour);
    EXPECT_EQ(pixelRGB(screen, 300, 260), bandColour);
}

TEST_F(Frame, MissingAssetsDrawNothing)
{
    repeatImage = frontImage = logoImage = smallShipImage = gameOverImage = nullptr;
    bigFont = tintedFont = nullptr;
    gameOver = 1;
    paused = 1;
    renderFrame();
    EXPECT_EQ(pixelRGB(screen, 325, 210), shipColour);
    EXPECT_EQ(pixelRGB(screen, 600, 300), 0u);
    EXPECT_EQ(pixelRGB(screen, 10, 10), 0u);
    EXPECT_EQ(pixelRGB(screen, 84, 39), 0u);
    EXPECT_EQ(pixelRGB(screen, 470, 463), 0u);
    EXPECT_EQ(pixelRGB(screen, 260, 40), 0u);

    SDL_Surface *shown = screen;
    screen = nullptr;
    renderFrame();   // no display: nothing to draw on, and no crash
    screen = shown;
}
