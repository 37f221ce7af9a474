// The two scrolling layers, checked pixel by pixel on the dummy video
// surface, and the blit helpers they go through.
#include <gtest/gtest.h>
#include <tuple>
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

// Where the blit helpers put things shows in the layers above and in every
// picture of the frame. They take plain ints and keep their low 16 bits, as
// SDL's rectangles do. (A missing picture or target is refused by the blit
// they both end in, checked with the blend.)
TEST(Blit, LowSixteenBitsCount)
{
    SDL_Surface *src = picture(4, 4, [](int x, int y) { return (uint32_t)(0x100000 * (x + 1) + 0x1000 * (y + 1)); });
    SDL_Surface *dst = picture(8, 8, [](int, int) { return sentinel; });
    // (src, dx, dy, w, h, sx, sy, dst): source pixel (1, 2) alone at (2, 3)
    blitPart(src, 0x10000 + 2, 0x20000 + 3, 0x10000 + 1, 0x30000 + 1, 0x10000 + 1, -0x10000 + 2, dst);
    EXPECT_EQ(std::make_tuple(pixelRGB(dst, 2, 3), pixelRGB(dst, 3, 3), pixelRGB(dst, 2, 4)),
              std::make_tuple(0x203000u, sentinel, sentinel));
    blitAt(src, 0x10000 + 5, 0x40000 + 6, dst);
    EXPECT_EQ(std::make_tuple(pixelRGB(dst, 5, 6), pixelRGB(dst, 4, 6)), std::make_tuple(0x101000u, sentinel));
    SDL_FreeSurface(src);
    SDL_FreeSurface(dst);
}
