// The blit helpers and the two scrolling layers, checked pixel by pixel on
// the dummy video surface.
#include <gtest/gtest.h>
#include "tests/support.h"
#include "game/world.h"
#include "render/backdrop.h"
#include "render/blit.h"

static const uint32_t sentinel = 0xFF00FF;  // never part of a test picture
static const uint32_t white = 0xFFFFFF;

static SDL_Surface *makeSurface(int w, int h)
{
    SDL_PixelFormat *f = openTestVideo()->format;
    return SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, f->Rmask, f->Gmask, f->Bmask, 0);
}

static void fillWith(SDL_Surface *s, uint32_t rgb)
{
    SDL_FillRect(s, NULL, SDL_MapRGB(s->format, rgb >> 16, (rgb >> 8) & 255, rgb & 255));
}

static void setPixels(SDL_Surface *s, uint32_t (*colourAt)(int, int))
{
    SDL_LockSurface(s);
    for (int y = 0; y < s->h; y++) {
        Uint32 *row = (Uint32 *)((Uint8 *)s->pixels + y * s->pitch);
        for (int x = 0; x < s->w; x++) {
            uint32_t c = colourAt(x, y);
            row[x] = SDL_MapRGB(s->format, c >> 16, (c >> 8) & 255, c & 255);
        }
    }
    SDL_UnlockSurface(s);
}

// Far strip: red = column low byte, green = column high nibble plus row low
// nibble, blue = row high bits + 1, so no pixel is black or the sentinel.
static uint32_t farColour(int col, int row)
{
    return ((col & 255) << 16) | ((((row & 15) << 4) | (col >> 8)) << 8) | ((row >> 4) + 1);
}
static int farCol(uint32_t c) { return ((c >> 16) & 255) | (((c >> 8) & 15) << 8); }
static int farRow(uint32_t c) { return ((c >> 12) & 15) | (((c & 255) - 1) << 4); }

// Front strip: white (keyed) except along diagonals, where blue 0xC0 marks
// it and red/green hold the column.
static bool frontMarked(int col, int row) { return (col + row) % 7 == 0; }
static uint32_t frontColour(int col, int row)
{
    if (!frontMarked(col, row))
        return white;
    return ((col & 255) << 16) | ((col >> 8) << 8) | 0xC0;
}

class Backdrop : public ::testing::Test {
protected:
    static SDL_Surface *far;
    static SDL_Surface *front;

    static void SetUpTestSuite()
    {
        far = makeSurface(stripPeriod, bandHeight);
        setPixels(far, farColour);
        front = makeSurface(stripPeriod, bandHeight);
        setPixels(front, frontColour);
        SDL_SetColorKey(front, SDL_SRCCOLORKEY, SDL_MapRGB(front->format, 255, 255, 255));
    }
    static void TearDownTestSuite()
    {
        SDL_FreeSurface(far);
        SDL_FreeSurface(front);
    }
    void SetUp() override
    {
        screen = openTestVideo();
        fillWith(screen, sentinel);
        repeatImage = far;
        frontImage = front;
        scrollX = 0.0f;
        frontScrollX = 0.0f;
    }
    void TearDown() override
    {
        repeatImage = nullptr;
        frontImage = nullptr;
    }

    // Every band pixel shows far-strip column (trunc(s) + c) mod 3909 and
    // the matching row; the rows above and below the band are untouched.
    void expectFarLayer(float s)
    {
        int first = (int)(double)s;
        int bad = 0;
        for (int c = 0; c < 640 && bad < 5; c++) {
            int want = (first + c) % stripPeriod;
            for (int row = 0; row < bandHeight; row++) {
                uint32_t got = pixelRGB(screen, c, bandTop + row);
                if (got == sentinel || farCol(got) != want || farRow(got) != row) {
                    ADD_FAILURE() << "s=" << s << " screen (" << c << "," << bandTop + row
                                  << ") shows col " << farCol(got) << " row " << farRow(got)
                                  << " want col " << want << " row " << row;
                    bad++;
                    break;
                }
            }
            EXPECT_EQ(pixelRGB(screen, c, bandTop - 1), sentinel) << "s=" << s << " col " << c;
            EXPECT_EQ(pixelRGB(screen, c, bandTop + bandHeight), sentinel) << "s=" << s;
        }
    }
};
SDL_Surface *Backdrop::far;
SDL_Surface *Backdrop::front;

TEST_F(Backdrop, FarLayerTilesAllColumnsAtEveryScroll)
{
    // One piece up to 3269, two pieces beyond, down to a one-column end piece.
    const float scrolls[] = {0.0f, 1.0f, 3269.0f, 3269.5f, 3270.0f, 3500.0f, 3500.5f, 3908.0f, 3908.75f};
    for (float s : scrolls) {
        fillWith(screen, sentinel);
        scrollX = s;
        frontScrollX = 1234.0f;  // must not matter
        drawBackdrop();
        expectFarLayer(s);
    }
}

TEST_F(Backdrop, FrontLayerKeysWhiteAndTilesOnItsOwnScroll)
{
    const float scrolls[][2] = {{0.0f, 0.0f}, {100.0f, 3269.0f}, {100.0f, 3500.0f},
                                {3600.0f, 3500.5f}, {0.0f, 3908.0f}};
    for (auto &pair : scrolls) {
        scrollX = pair[0];
        frontScrollX = pair[1];
        drawBackdrop();
        drawFrontLayer();
        int farFirst = (int)pair[0], frontFirst = (int)pair[1];
        int bad = 0;
        for (int c = 0; c < 640 && bad < 5; c++) {
            int fc = (frontFirst + c) % stripPeriod;
            for (int row = 0; row < bandHeight; row++) {
                uint32_t got = pixelRGB(screen, c, bandTop + row);
                uint32_t want = frontMarked(fc, row) ? frontColour(fc, row)
                                                     : farColour((farFirst + c) % stripPeriod, row);
                if (got != want) {
                    ADD_FAILURE() << "far " << pair[0] << " front " << pair[1] << " at ("
                                  << c << "," << bandTop + row << ") got " << std::hex << got
                                  << " want " << want;
                    bad++;
                    break;
                }
            }
        }
    }
}

TEST_F(Backdrop, MissingPicturesDrawNothing)
{
    repeatImage = nullptr;
    frontImage = nullptr;
    scrollX = 3500.0f;
    frontScrollX = 3500.0f;
    drawBackdrop();
    drawFrontLayer();
    for (int y = 0; y < 480; y += 7)
        for (int x = 0; x < 640; x += 5)
            ASSERT_EQ(pixelRGB(screen, x, y), sentinel) << x << "," << y;
}

// Source pixel (x, y) of the small test picture: distinct for every pixel.
static uint32_t smallColour(int x, int y) { return 0x100000 * (x + 1) + 0x1000 * (y + 1) + 0x11; }

TEST_F(Backdrop, BlitHelpersTakeTheirArgumentsInOrderAndKeepLow16Bits)
{
    SDL_Surface *src = makeSurface(12, 10);
    setPixels(src, smallColour);
    SDL_Surface *dst = makeSurface(32, 32);

    // (src, dx, dy, w, h, sx, sy, dst); every number carries bits above 16.
    fillWith(dst, sentinel);
    blitPart(src, 0x10000 + 10, 0x20000 + 20, 0x10000 + 3, 0x30000 + 2, 0x10000 + 4, -0x10000 + 5, dst);
    for (int y = 0; y < 32; y++)
        for (int x = 0; x < 32; x++) {
            bool inside = x >= 10 && x < 13 && y >= 20 && y < 22;
            uint32_t want = inside ? smallColour(4 + x - 10, 5 + y - 20) : sentinel;
            ASSERT_EQ(pixelRGB(dst, x, y), want) << x << "," << y;
        }

    // 0xFFFF narrows to -1: the first source column falls off the left edge.
    fillWith(dst, sentinel);
    blitPart(src, 0xFFFF, 0, 3, 1, 2, 0, dst);
    EXPECT_EQ(pixelRGB(dst, 0, 0), smallColour(3, 0));
    EXPECT_EQ(pixelRGB(dst, 1, 0), smallColour(4, 0));
    EXPECT_EQ(pixelRGB(dst, 2, 0), sentinel);

    // blitAt puts the whole picture's corner at the narrowed (x, y).
    fillWith(dst, sentinel);
    blitAt(src, 0x10000 + 5, 0x40000 + 7, dst);
    EXPECT_EQ(pixelRGB(dst, 5, 7), smallColour(0, 0));
    EXPECT_EQ(pixelRGB(dst, 16, 16), smallColour(11, 9));
    EXPECT_EQ(pixelRGB(dst, 4, 7), sentinel);
    EXPECT_EQ(pixelRGB(dst, 17, 16), sentinel);
    EXPECT_EQ(pixelRGB(dst, 5, 17), sentinel);

    // Null surfaces are refused quietly.
    fillWith(dst, sentinel);
    blitAt(nullptr, 0, 0, dst);
    blitAt(src, 0, 0, nullptr);
    blitPart(nullptr, 0, 0, 5, 5, 0, 0, dst);
    blitPart(src, 0, 0, 5, 5, 0, 0, nullptr);
    EXPECT_EQ(pixelRGB(dst, 0, 0), sentinel);

    SDL_FreeSurface(src);
    SDL_FreeSurface(dst);
}
