// The blit helpers and the two scrolling layers, checked pixel by pixel on
// the dummy video surface.
#include <gtest/gtest.h>
#include "tests/support.h"
#include "platform/surface.h"
#include "world/world.h"
#include "render/backdrop.h"
#include "render/blit.h"

static const uint32_t sentinel = 0xFF00FF;   // never part of a test picture

static void fill(SDL_Surface *s, uint32_t rgb, SDL_Rect *r = NULL)
{
    SDL_FillRect(s, r, SDL_MapRGB(s->format, rgb >> 16, (rgb >> 8) & 255, rgb & 255));
}

// A w x h picture whose pixel (x, y) has the colour colourAt(x, y).
static SDL_Surface *picture(int w, int h, uint32_t (*colourAt)(int, int))
{
    SDL_PixelFormat *f = openTestVideo()->format;
    SDL_Surface *s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, f->Rmask, f->Gmask, f->Bmask, 0);
    for (Sint16 y = 0; y < h; y++)
        for (Sint16 x = 0; x < w; x++) {
            SDL_Rect r = {x, y, 1, 1};
            fill(s, colourAt(x, y), &r);
        }
    return s;
}

// Far strip: column in the low 12 bits, row above them, plus one so no pixel
// is black. Front strip: white (keyed) except on diagonals, where 0xC0 in the
// top byte marks it and the low bits hold the column.
static uint32_t farColour(int col, int row) { return (row << 12 | col) + 1; }
static bool frontMarked(int col, int row) { return (col + row) % 7 == 0; }
static uint32_t frontColour(int col, int row) { return frontMarked(col, row) ? 0xC00000 | col : 0xFFFFFF; }

// Draws the far layer at farScroll, and the front layer at frontScroll over
// it unless frontScroll is negative. Then every band pixel must show far
// column (trunc(farScroll) + c) mod 3909 of the matching row, or the front
// strip's marked pixel there; the rows around the band stay untouched.
static void expectBand(float farScroll, float frontScroll)
{
    static SDL_Surface *far = picture(stripPeriod, bandHeight, farColour);
    static SDL_Surface *front = picture(stripPeriod, bandHeight, frontColour);
    setColorKey(front, SDL_MapRGB(front->format, 255, 255, 255));
    screen = openTestVideo();
    fill(screen, sentinel);
    repeatImage = far;
    frontImage = front;
    scrollX = farScroll;
    frontScrollX = frontScroll < 0 ? 1234.0f : frontScroll;   // must not move the far layer
    drawBackdrop();
    if (frontScroll >= 0)
        drawFrontLayer();
    for (int c = 0; c < 640; c++) {
        int farCol = ((int)farScroll + c) % stripPeriod, frontCol = ((int)frontScroll + c) % stripPeriod;
        for (int row = -1; row <= bandHeight; row++) {
            uint32_t want = row < 0 || row == bandHeight ? sentinel
                            : frontScroll >= 0 && frontMarked(frontCol, row) ? frontColour(frontCol, row)
                                                                             : farColour(farCol, row);
            uint32_t got = pixelRGB(screen, c, bandTop + row);
            if (got != want) {
                ADD_FAILURE() << "far " << farScroll << " front " << frontScroll << " at (" << c << ","
                              << bandTop + row << ") got " << std::hex << got << " want " << want;
                return;
            }
        }
    }
}

TEST(Backdrop, LayersShowEveryColumnAtEveryScroll)
{
    // {far scroll, front scroll or -1 for no front layer}. A layer is one
    // piece up to 3269, two beyond it, down to a one-column end piece.
    const float scrolls[][2] = {{0, -1}, {1, -1}, {3269, -1}, {3269.5f, -1}, {3270, -1}, {3500, -1},
                                {3500.5f, -1}, {3908, -1}, {3908.75f, -1}, {0, 0}, {100, 3269},
                                {100, 3500}, {3600, 3500.5f}, {0, 3908}};
    for (auto &pair : scrolls)
        expectBand(pair[0], pair[1]);
}

// Source pixel (x, y) of the small test picture: distinct for every pixel.
static uint32_t smallColour(int x, int y) { return 0x100000 * (x + 1) + 0x1000 * (y + 1) + 0x11; }

TEST(Blit, ArgumentsInOrderKeepingTheirLow16Bits)
{
    SDL_Surface *src = picture(12, 10, smallColour);
    SDL_Surface *dst = picture(32, 32, [](int, int) { return sentinel; });
    // dst shows src's w x h rectangle at (sx, sy) with its corner at (dx, dy)
    // and nothing else; then it is cleared for the next case.
    auto expectCopy = [&](int dx, int dy, int w, int h, int sx, int sy) {
        for (int y = 0; y < 32; y++)
            for (int x = 0; x < 32; x++) {
                bool inside = x >= dx && x < dx + w && y >= dy && y < dy + h;
                ASSERT_EQ(pixelRGB(dst, x, y), inside ? smallColour(sx + x - dx, sy + y - dy) : sentinel)
                    << x << "," << y;
            }
        fill(dst, sentinel);
    };
    // (src, dx, dy, w, h, sx, sy, dst); every number carries bits above 16.
    blitPart(src, 0x10000 + 10, 0x20000 + 20, 0x10000 + 3, 0x30000 + 2, 0x10000 + 4, -0x10000 + 5, dst);
    expectCopy(10, 20, 3, 2, 4, 5);
    blitPart(src, 0xFFFF, 0, 3, 1, 2, 0, dst);   // -1: the first column falls off the left edge
    expectCopy(-1, 0, 3, 1, 2, 0);
    blitAt(src, 0x10000 + 5, 0x40000 + 7, dst);   // the whole picture
    expectCopy(5, 7, 12, 10, 0, 0);
    // A missing picture or target (one that failed to load) is refused quietly.
    blitAt(nullptr, 0, 0, dst);
    blitAt(src, 0, 0, nullptr);
    blitPart(nullptr, 0, 0, 5, 5, 0, 0, dst);
    blitPart(src, 0, 0, 5, 5, 0, 0, nullptr);
    expectCopy(0, 0, 0, 0, 0, 0);
    SDL_FreeSurface(src);
    SDL_FreeSurface(dst);
}
