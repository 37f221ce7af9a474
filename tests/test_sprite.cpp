// The Sprite: frame timing on the fake clock, where it lands on the screen,
// the background buffer, and sets it cannot draw from.
#include <gtest/gtest.h>
#include "objects/sprite.h"
#include "game/ticks.h"
#include "tests/support.h"

static SDL_Surface *solidSurface(int w, int h, Uint32 rgb)
{
    SDL_Surface *s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32,
                                          0xFF0000, 0x00FF00, 0x0000FF, 0);
    SDL_FillRect(s, NULL, SDL_MapRGB(s->format, rgb >> 16, (rgb >> 8) & 255, rgb & 255));
    return s;
}

static const Uint32 frameColours[3] = { 0xFF0000, 0x00FF00, 0x0000FF };

// A loaded set of count 10x10 frames, red, green, blue, each shown 100 ms.
static SpriteSet makeSet(int count)
{
    SpriteSet set = {};
    set.frames = new SpriteFrame[count];
    for (int i = 0; i < count; i++) {
        set.frames[i].surface = solidSurface(10, 10, frameColours[i % 3]);
        set.frames[i].delay = 100;
    }
    set.loaded = 1;
    set.frameCount = count;
    set.frameWidth = 10;
    set.frameHeight = 10;
    return set;
}

class SpriteTest : public ::testing::Test {
protected:
    SDL_Surface *screen = nullptr;
    void SetUp() override
    {
        screen = openTestVideo();
        ASSERT_NE(screen, nullptr);
        SDL_FillRect(screen, NULL, 0);
        useFakeTicks(0);
    }
};

// Every reading is one millisecond later than the one before.
static Uint32 steppingNow;
static Uint32 steppingTicks(void) { return steppingNow++; }

TEST_F(SpriteTest, AnimationStepsStrictlyAfterTheScaledDelay)
{
    SpriteSet set = makeSet(3);
    Sprite s;
    EXPECT_EQ(s.init(&set, screen), 0);
    EXPECT_EQ(s.isAnimating(), 1);
    s.setDelayFactor(1.0f);
    s.setLastFrameTicks(5000);

    setFakeTicks(5100);
    s.draw();
    EXPECT_EQ(s.getFrame(), 0);
    EXPECT_EQ(s.getLastFrameTicks(), 5000);

    // The stamp is a second reading of the clock, not the one compared.
    steppingNow = 5101;
    tickSource = steppingTicks;
    s.draw();
    EXPECT_EQ(s.getFrame(), 1);
    EXPECT_EQ(s.getLastFrameTicks(), 5102);

    // Twice the delay at factor 2; however late, one step per draw.
    useFakeTicks(5302);
    s.setDelayFactor(2.0f);
    s.draw();
    EXPECT_EQ(s.getFrame(), 1);
    setFakeTicks(90000);
    s.draw();
    EXPECT_EQ(s.getFrame(), 2);
    EXPECT_EQ(s.getLastFrameTicks(), 90000);

    // Factor 0: a step at every draw once the clock has moved on; the
    // last frame wraps to 0.
    s.setDelayFactor(0.0f);
    s.draw();
    EXPECT_EQ(s.getFrame(), 2);
    setFakeTicks(90001);
    s.draw();
    EXPECT_EQ(s.getFrame(), 0);
    EXPECT_EQ(pixelRGB(screen, 5, 5), frameColours[0]);

    // setFrame changes the picture but not the timer.
    s.stopAnim();
    s.setFrame(1);
    EXPECT_EQ(s.getLastFrameTicks(), 90001);
    setFakeTicks(200000);
    s.draw();
    EXPECT_EQ(s.getFrame(), 1);
    EXPECT_EQ(pixelRGB(screen, 5, 5), frameColours[1]);
}

TEST_F(SpriteTest, OneFrameSetStaysOnFrameZero)
{
    SpriteSet set = makeSet(1);
    Sprite s;
    s.init(&set, screen);
    EXPECT_EQ(s.isAnimating(), 0);
    setFakeTicks(1000);
    s.draw();
    EXPECT_EQ(s.getFrame(), 0);
    // Started by hand (the ship after a respawn) it wraps onto itself.
    s.startAnim();
    setFakeTicks(2000);
    s.draw();
    EXPECT_EQ(s.getFrame(), 0);
    EXPECT_EQ(s.getLastFrameTicks(), 2000);
}

TEST_F(SpriteTest, PositionsTruncateTowardZeroOnScreen)
{
    SpriteSet set = makeSet(1);
    Sprite s;
    s.init(&set, screen);
    s.setPos(-0.7f, 12.9f);   // drawn at (0, 12): columns 0..9, rows 12..21
    s.draw();
    EXPECT_EQ(pixelRGB(screen, 9, 12), 0xFF0000u);
    EXPECT_EQ(pixelRGB(screen, 10, 12), 0u);
    EXPECT_EQ(pixelRGB(screen, 0, 11), 0u);
    EXPECT_EQ(pixelRGB(screen, 0, 21), 0xFF0000u);
    EXPECT_EQ(pixelRGB(screen, 0, 22), 0u);

    SDL_FillRect(screen, NULL, 0);
    s.setPos(-1.5f, 100.0f);  // drawn at (-1, 100): columns 0..8
    s.draw();
    EXPECT_EQ(pixelRGB(screen, 8, 100), 0xFF0000u);
    EXPECT_EQ(pixelRGB(screen, 9, 100), 0u);

    // Far off screen stays off screen, not wrapped into 16 bits.
    SDL_FillRect(screen, NULL, 0);
    s.setPos(65536.0f + 50.0f, 65536.0f + 50.0f);
    s.draw();
    EXPECT_EQ(pixelRGB(screen, 55, 55), 0u);
}

TEST_F(SpriteTest, RestoreBackgroundPutsBackWhatWasSaved)
{
    SpriteSet set = makeSet(1);
    Sprite s;
    s.init(&set, screen);
    SDL_Rect area = { 15, 25, 30, 30 };
    SDL_FillRect(screen, &area, SDL_MapRGB(screen->format, 0, 0, 255));
    s.setPos(20.5f, 30.2f);
    s.saveBackground();

    // Before the first draw a restore does nothing.
    SDL_FillRect(screen, NULL, SDL_MapRGB(screen->format, 0, 255, 0));
    s.restoreBackground();
    EXPECT_EQ(pixelRGB(screen, 25, 35), 0x00FF00u);

    s.draw();
    EXPECT_EQ(pixelRGB(screen, 25, 35), 0xFF0000u);
    // Restored where it was saved, not where the sprite stands now.
    s.setPos(200.0f, 200.0f);
    s.restoreBackground();
    EXPECT_EQ(pixelRGB(screen, 20, 30), 0x0000FFu);
    EXPECT_EQ(pixelRGB(screen, 29, 39), 0x0000FFu);
    EXPECT_EQ(pixelRGB(screen, 30, 35), 0x00FF00u);
    EXPECT_EQ(pixelRGB(screen, 25, 40), 0x00FF00u);
}

TEST_F(SpriteTest, SetsWithoutUsableFramesAndBadFrameIndicesAreSafe)
{
    SpriteSet unloaded = {};
    SpriteSet empty = {};
    empty.loaded = 1;
    SpriteSet noSurface = makeSet(2);
    SDL_FreeSurface(noSurface.frames[0].surface);
    noSurface.frames[0].surface = nullptr;

    SpriteSet *sets[] = { &unloaded, &empty, &noSurface };
    for (SpriteSet *set : sets) {
        Sprite s;
        EXPECT_EQ(s.init(set, screen), 0);
        EXPECT_EQ(s.getSet(), set);
        s.setFrame(5);
        s.saveBackground();
        s.draw();
        s.restoreBackground();
        EXPECT_EQ(s.wasDrawn(), 1);
    }
    EXPECT_EQ(pixelRGB(screen, 5, 5), 0u);
    // Without a surface in entry 0 the sprite has no size, yet a later
    // frame that has one still shows.
    Sprite s;
    s.init(&noSurface, screen);
    EXPECT_EQ(s.getW(), 0);
    EXPECT_EQ(s.getH(), 0);
    s.stopAnim();
    s.setFrame(1);
    s.draw();
    EXPECT_EQ(pixelRGB(screen, 5, 5), frameColours[1]);

    // A frame index outside the set wraps to 0 before anything reads it.
    SpriteSet three = makeSet(3);
    Sprite t;
    t.init(&three, screen);
    t.setPos(100.0f, 100.0f);
    t.setFrame(3);
    t.stopAnim();
    t.draw();
    EXPECT_EQ(t.getFrame(), 0);
    EXPECT_EQ(pixelRGB(screen, 105, 105), frameColours[0]);
    t.setFrame(-4);
    t.startAnim();
    t.setDelayFactor(1.0f);
    t.draw();
    EXPECT_EQ(t.getFrame(), 0);
}
