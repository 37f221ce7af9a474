// Whole-pixel scaling and the display modes, with the dummy video driver.
#include <gtest/gtest.h>
#include <algorithm>
#include "tests/support.h"
#include "tests/alloccount.h"
#include "world/world.h"
#include "platform/display.h"
#include "platform/input.h"
#include "tests/testinput.h"

// A frame where every pixel differs from its neighbours.
static Uint32 patternAt(int x, int y) { return (Uint32)(x * 7919 + y * 104729) & 0xFFFFFF; }

static void fillPattern(SDL_Surface *s)
{
    SDL_LockSurface(s);
    for (int y = 0; y < s->h; y++)
        for (int x = 0; x < s->w; x++)
            ((Uint32 *)((Uint8 *)s->pixels + y * s->pitch))[x] = patternAt(x, y);
    SDL_UnlockSurface(s);
}

// Counts pixels of dst that are not src's pixel (x / n, y / n) shifted by
// the centring offset, and pixels of the border that are not `border`.
static long mismatches(SDL_Surface *src, SDL_Surface *dst, int n, Uint32 border)
{
    int left = (dst->w - src->w * n) / 2, top = (dst->h - src->h * n) / 2;
    long bad = 0;
    for (int y = 0; y < dst->h; y++)
        for (int x = 0; x < dst->w; x++) {
            int sx = x - left, sy = y - top;
            bool inside = sx >= 0 && sy >= 0 && sx < src->w * n && sy < src->h * n;
            Uint32 want = inside ? patternAt(sx / n, sy / n) : border;
            bad += pixelRGB(dst, x, y) != want;
        }
    return bad;
}

static SDL_Surface *surface32(int w, int h)
{
    return SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0xFF0000, 0xFF00, 0xFF, 0);
}

TEST(Present, ScaledCopyRepeatsEveryPixelNByNTimes)
{
    SDL_Surface *src = surface32(gameWidth, gameHeight);
    fillPattern(src);
    for (int n = 1; n <= 4; n++) {
        SDL_Surface *dst = surface32(gameWidth * n, gameHeight * n);
        scaleCopy(src, dst, n);
        EXPECT_EQ(mismatches(src, dst, n, 0), 0) << "scale " << n;
        SDL_FreeSurface(dst);
    }
    // A larger mode than asked for shows the picture centred, the rest untouched.
    SDL_Surface *big = surface32(1400, 1000);
    SDL_FillRect(big, NULL, 0x123456);
    scaleCopy(src, big, 2);
    EXPECT_EQ(mismatches(src, big, 2, 0x123456), 0);
    // One too small is left alone rather than overrun.
    SDL_Surface *small = surface32(1279, 960);
    SDL_FillRect(small, NULL, 0x654321);
    scaleCopy(src, small, 2);
    EXPECT_EQ(pixelRGB(small, 0, 0), 0x654321u);
    for (SDL_Surface *s : { small, big, src })
        SDL_FreeSurface(s);
}

// Full screen: the largest factor whose picture one of the modes holds, and
// the first mode that holds it; a picture that fills a mode exactly across
// (1280) or down (1440) fits.
TEST(Present, LargestFactorThatAFullScreenModeHolds)
{
    SDL_Rect m1024 = { 0, 0, 1024, 768 }, m1920 = { 0, 0, 1920, 1080 }, m1600 = { 0, 0, 1600, 1200 },
             m800 = { 0, 0, 800, 600 }, m320 = { 0, 0, 320, 240 }, m2560 = { 0, 0, 2560, 1440 },
             m1280 = { 0, 0, 1280, 1024 };
    SDL_Rect *onlySmall[] = { &m1024, &m800, nullptr }, *mixed[] = { &m1920, &m1600, &m1024, nullptr },
             *large[] = { &m2560, &m1920, nullptr }, *tiny[] = { &m320, nullptr }, *empty[] = { nullptr },
             *across[] = { &m1280, nullptr };
    // Where no mode holds the picture, room keeps its width of 7.
    const struct { SDL_Rect **modes; int max, want, roomW; } cases[] = {
        { onlySmall, 4, 1, 1024 }, { mixed, 4, 2, 1920 }, { mixed, 1, 1, 1920 }, { large, 4, 3, 2560 },
        { large, 2, 2, 2560 }, { tiny, 4, 1, 7 }, { empty, 4, 1, 7 }, { across, 4, 2, 1280 },
    };
    for (const auto &c : cases) {
        SDL_Rect room = { 0, 0, 7, 7 };
        EXPECT_EQ(fitScaleInModes(c.modes, c.max, &room), c.want) << "case " << &c - cases;
        EXPECT_EQ(room.w, c.roomW) << "case " << &c - cases;
    }
    EXPECT_EQ(fitScaleInModes(nullptr, 4, nullptr), 1);
}

// The picture shown now is screen's, n x n times (n 0: full screen, by the
// largest factor that fits) and centred, black around.
static void expectShownScaled(SDL_Surface *screen, int n)
{
    SDL_Surface *shown = shownPicture();
    ASSERT_TRUE(shown) << SDL_GetError();
    if (n) {
        EXPECT_EQ(std::make_pair(shown->w, shown->h), std::make_pair(gameWidth * n, gameHeight * n));
    }
    int fits = std::min(shown->w / gameWidth, shown->h / gameHeight);
    EXPECT_EQ(mismatches(screen, shown, n ? n : fits, 0), 0) << shown->w << "x" << shown->h;
    SDL_FreeSurface(shown);
}

// The real display path: the game draws into a 640 x 480 screen that keeps
// its pointer, the display shows it doubled, and showing a frame allocates
// nothing, before and after a switch of mode.
TEST(Present, ScaledModeKeepsScreenAndPresentsWithoutAllocating)
{
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0);
    screen = openDisplay(2, false);
    ASSERT_TRUE(screen) << SDL_GetError();
    SDL_Surface *drawn = screen;

    fillPattern(screen);
    presentFrame();
    long before = allocationCount();
    for (int i = 0; i < 5; i++)
        presentFrame();
    EXPECT_EQ(allocationCount(), before);
    expectShownScaled(screen, 2);

    // Full screen shows the same picture, by the largest whole factor the
    // screen allows.
    int wasFull = presentFullscreen;
    if (toggleFullScreen()) {
        EXPECT_NE(presentFullscreen, wasFull);
        EXPECT_EQ(screen, drawn);
        presentFrame();
        expectShownScaled(screen, 0);
    }

    // F11 and Alt+Enter switch the mode in the input layer and never reach
    // the pass record; Enter alone is still the restart key.
    static const struct { int sym, mod; } toggles[] = {
        { SDLK_F11, KMOD_NONE }, { SDLK_RETURN, KMOD_LALT }, { SDLK_RETURN, KMOD_RALT },
    };
    for (const auto &t : toggles) {
        int was = presentFullscreen;
        pushKeyDown(t.sym, t.mod);
        PassInput in;
        readLiveInput(&in, 0);
        EXPECT_EQ(in.eventCount, 0);
        EXPECT_NE(presentFullscreen, was) << "key " << t.sym;
        EXPECT_EQ(screen, drawn);
    }
    pushKeyDown(SDLK_RETURN);
    PassInput in;
    readLiveInput(&in, 0);
    EXPECT_EQ(std::make_pair(in.eventCount, in.events[0]), std::make_pair(1, (Uint8)passRestart));

    // Opened again at scale 1 in a window: the picture is shown 1:1.
    screen = openDisplay(1, false);
    ASSERT_TRUE(screen);
    EXPECT_EQ(screen->w, gameWidth);
    fillPattern(screen);
    presentFrame();
    expectShownScaled(screen, 1);
}
