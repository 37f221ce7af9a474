// The Sprite: frame timing on the fake clock, where it lands on the screen,
// the background buffer, and sets it cannot draw from.
#include <gtest/gtest.h>
#include <tuple>
#include <vector>
#include "objects/sprite.h"
#include "core/ticks.h"
#include "tests/support.h"

static const Uint32 red = 0xFF0000, green = 0x00FF00, blue = 0x0000FF;
static const Uint32 frameColours[3] = { red, green, blue };
static SDL_Surface *screen;

// Fills r (NULL: all) of the screen with the colour 0xRRGGBB.
static void fill(SDL_Rect *r, Uint32 rgb)
{
    SDL_FillRect(screen, r, SDL_MapRGB(screen->format, rgb >> 16, (rgb >> 8) & 255, rgb & 255));
}

// Every set made below, released after each test (tests change the copies'
// counts, so each is kept as made).
static std::vector<SpriteSet> madeSets;

// A loaded set of count 10x10 frames, red, green, blue, red..., each 100 ms.
static SpriteSet makeSet(int count)
{
    SpriteSet set = { new SpriteFrame[count], 1, count, 10, 10 };
    madeSets.push_back(set);
    for (int i = 0; i < count; i++) {
        // With these masks a pixel value is its 0xRRGGBB colour.
        set.frames[i] = { SDL_CreateRGBSurface(SDL_SWSURFACE, 10, 10, 32, red, green, blue, 0), 100 };
        SDL_FillRect(set.frames[i].surface, NULL, frameColours[i % 3]);
    }
    return set;
}

// Every sprite bound below; each test's copies share its background
// buffer, freed once after the test.
static std::vector<Sprite> madeSprites;

static Sprite on(SpriteSet *set, float x = 0.0f, float y = 0.0f, SDL_Surface *target = screen)
{
    Sprite s;
    s.init(set, target);
    s.setPos(x, y);
    madeSprites.push_back(s);
    return s;
}

class SpriteTest : public ::testing::Test {
    void SetUp() override
    {
        ASSERT_NE(screen = openTestVideo(), nullptr);
        fill(NULL, 0);
        useFakeTicks(0);
    }
    void TearDown() override
    {
        for (Sprite &s : madeSprites)
            s.releaseBackground();
        madeSprites.clear();
        for (SpriteSet &set : madeSets)
            freeSpriteSet(&set);
        madeSets.clear();
    }
};

// Every reading is one millisecond later than the one before, so a stamp
// taken by a second reading shows.
static Uint32 steppingNow;
static Uint32 steppingTicks(void) { return steppingNow++; }

TEST_F(SpriteTest, AnimationStepsOnceTheScaledDelayHasRunOut)
{
    SpriteSet set = makeSet(3);
    Sprite s = on(&set);
    s.setLastFrameTicks(5000);
    tickSource = steppingTicks;
    // The clock reading a draw starts from, the delay factor, and then the
    // frame and the stamp it leaves.
    struct { Uint32 now; float factor; int frame; Uint32 stamp; } steps[] = {
        { 5100, 1.0f, 0, 5000 },     // due, not yet past
        { 5101, 1.0f, 1, 5102 },     // past: step, stamped by a second reading
        { 90000, 1.0f, 2, 90001 },   // however late, one step
        { 90001, 0.0f, 2, 90001 },   // factor 0: not until the clock moves on
        { 90002, 0.0f, 0, 90003 },   // then a step, the last frame wraps to 0
    };
    for (const auto &st : steps) {
        steppingNow = st.now;
        s.setDelayFactor(st.factor);
        s.draw();
        EXPECT_EQ(std::make_pair(s.getFrame(), s.getLastFrameTicks()), std::make_pair(st.frame, st.stamp)) << st.now;
    }
    EXPECT_EQ(pixelRGB(screen, 5, 5), red);

    // A one-frame set does not animate; started by hand (the ship after a
    // respawn) it steps onto frame 0 again.
    SpriteSet single = makeSet(1);
    Sprite one = on(&single);
    EXPECT_EQ(one.isAnimating(), 0);
    one.startAnim();
    one.draw();
    EXPECT_EQ(std::make_pair(one.getFrame(), one.getLastFrameTicks()), std::make_pair(0, (Uint32)90005));

    // The clock past 2^31 ms (24.9 days), past 2^24 ms where a float due
    // time loses milliseconds, and across its wrap at 2^32: the frame steps
    // after exactly its delay of 100 ms, never sooner.
    s.setDelayFactor(1.0f);
    for (Uint32 last : { 0x80000010u, 16777217u, 0xFFFFFFC0u }) {
        s.setFrame(0);
        s.setLastFrameTicks(last);
        steppingNow = last + 100;
        s.draw();
        EXPECT_EQ(s.getFrame(), 0) << last;
        steppingNow = last + 101;
        s.draw();
        EXPECT_EQ(std::make_pair(s.getFrame(), s.getLastFrameTicks()), std::make_pair(1, last + 102)) << last;
    }
}

TEST_F(SpriteTest, PositionsTruncateTowardZeroOnScreen)
{
    SpriteSet set = makeSet(1);
    // -0.7 draws at column 0 and 12.9 at row 12; -1.5 draws at column -1.
    struct { float x, y; int lastColumn, row; } cases[] = {
        { -0.7f, 12.9f, 9, 12 }, { -1.5f, 100.0f, 8, 100 } };
    for (const auto &c : cases) {
        on(&set, c.x, c.y).draw();
        EXPECT_EQ(pixelRGB(screen, c.lastColumn, c.row), red) << c.x;
        EXPECT_EQ(pixelRGB(screen, c.lastColumn + 1, c.row), 0u) << c.x;
    }
    // Far off screen stays off screen instead of wrapping into 16 bits.
    on(&set, 65586.0f, 65586.0f).draw();
    EXPECT_EQ(pixelRGB(screen, 55, 55), 0u);
}

TEST_F(SpriteTest, RestoreBackgroundPutsBackWhatWasSavedWhereItWasSaved)
{
    SpriteSet set = makeSet(1);
    Sprite s = on(&set, 20.5f, 30.2f);
    SDL_Rect area = { 20, 30, 10, 10 };   // exactly what it will cover
    fill(&area, blue);
    s.saveBackground();

    // Before the first draw a restore does nothing.
    fill(NULL, green);
    s.restoreBackground();
    EXPECT_EQ(pixelRGB(screen, 25, 35), green);

    s.draw();
    s.setPos(200.0f, 200.0f);
    s.restoreBackground();
    // The 10x10 square at (20, 30) is blue again, and only that.
    for (auto [x, y, rgb] : { std::tuple{ 20, 30, blue }, { 29, 39, blue }, { 30, 35, green }, { 25, 40, green } })
        EXPECT_EQ(pixelRGB(screen, x, y), rgb) << x << "," << y;
}

TEST_F(SpriteTest, UnusableSetsAndFrameIndicesOutsideTheSetAreSafe)
{
    // Never loaded; frames present but not marked loaded; loaded but empty.
    SpriteSet none = {}, unloaded = makeSet(1), empty = makeSet(1);
    unloaded.loaded = 0;
    empty.frameCount = 0;
    for (SpriteSet *set : { &none, &unloaded, &empty }) {
        Sprite s = on(set);
        s.setFrame(5);
        s.saveBackground();
        s.draw();
        s.restoreBackground();
        EXPECT_EQ(s.getW(), 0);
    }
    EXPECT_EQ(pixelRGB(screen, 5, 5), 0u);

    // A good set with no target: nothing is saved, drawn or restored, and
    // SDL is never handed the missing surface.
    SpriteSet one = makeSet(1);
    Sprite untargeted = on(&one, 0.0f, 0.0f, NULL);
    untargeted.saveBackground();
    untargeted.draw();
    untargeted.restoreBackground();
    EXPECT_EQ(untargeted.wasDrawn(), 1);
    EXPECT_EQ(pixelRGB(screen, 5, 5), 0u);

    // A frame index outside the set draws nothing and is left alone, even
    // while the sprite animates; a good index then draws again.
    SpriteSet three = makeSet(3);
    for (int bad : { 3, -4 }) {
        fill(NULL, 0);
        Sprite s = on(&three, 100.0f, 100.0f);
        s.setFrame(bad);
        s.draw();
        EXPECT_EQ(s.getFrame(), bad);
        EXPECT_EQ(pixelRGB(screen, 105, 105), 0u) << bad;
        s.setFrame(0);
        s.draw();
        EXPECT_EQ(pixelRGB(screen, 105, 105), red) << bad;
    }
}
