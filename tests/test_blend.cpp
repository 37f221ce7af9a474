// The game's own blit: its blend arithmetic, SDL's clipping rules, and what
// it leaves to SDL.
#include <gtest/gtest.h>
#include <math.h>
#include "assets/blend.h"
#include "tests/support.h"
#include "tests/testinput.h"

static const Uint32 rM = 0x00FF0000, gM = 0x0000FF00, bM = 0x000000FF, aM = 0xFF000000;

// A w x h surface whose pixel value at (x, y) is value(x, y).
// The 32-bit pixel value at (x, y) of s.
static Uint32 &at(SDL_Surface *s, int x, int y)
{
    return ((Uint32 *)((Uint8 *)s->pixels + y * s->pitch))[x];
}

template <class F> static SDL_Surface *surface(int w, int h, Uint32 amask, F value)
{
    SDL_Surface *s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, rM, gM, bM, amask);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            at(s, x, y) = value(x, y);
    return s;
}

// Every colour, backdrop and coverage: the nearest whole value of the exact
// weighted mean, so 0 and 255 are the backdrop and the colour themselves.
TEST(Blend, ChannelIsTheRoundedWeightedMean)
{
    int wrong = 0;
    for (Uint32 a = 0; a < 256; a++)
        for (Uint32 s = 0; s < 256; s++)
            for (Uint32 d = 0; d < 256; d++) {
                double exact = (s * a + d * (255.0 - a)) / 255.0;
                wrong += blendChannel(s, d, a) != (Uint32)lround(exact);
            }
    EXPECT_EQ(wrong, 0);
}

// A source with per-pixel alpha over an opaque picture, for every colour,
// backdrop and coverage of each channel: blended channel by channel, so
// coverage 0 leaves the pixel, with the bits outside the colour channels of
// the target kept. Green lies between red and blue and alpha above them or
// below: the blend takes two channels at once there, and no channel may
// spill into its neighbour. A target whose channels lie in other places than
// the source's takes the general path.
TEST(Blend, PerPixelAlphaIsBlendedIntoTheTarget)
{
    ASSERT_NE(openTestVideo(), nullptr);
    // The source's red, green, blue and alpha masks, then the target's red,
    // green and blue.
    const Uint32 layouts[3][7] = { { rM, gM, bM, aM, rM, gM, bM },
                                   { 0xFF000000, 0xFF0000, 0xFF00, 0xFF, 0xFF000000, 0xFF0000, 0xFF00 },
                                   { rM, gM, bM, aM, 0xFF00, 0xFF0000, 0xFF000000 } };
    for (const Uint32 *m : layouts) {
        SDL_Surface *sheet = SDL_CreateRGBSurface(SDL_SWSURFACE, 256, 256, 32, m[0], m[1], m[2], m[3]);
        SDL_Surface *under = SDL_CreateRGBSurface(SDL_SWSURFACE, 256, 256, 32, m[4], m[5], m[6], 0);
        const Uint32 colour = m[4] | m[5] | m[6];
        for (int a = 0; a < 256; a++)
            for (int c = 0; c < 256; c++)
                at(sheet, c, a) = SDL_MapRGBA(sheet->format, c, 255 - c, c ^ 0x5A, a);
        setPixelAlphaBlend(sheet, true);
        ASSERT_TRUE(blendsItself(sheet, under));
        const Uint32 spare = 0x5A5A5A5A & ~colour;   // not a colour channel's bits
        int wrong = 0;
        for (Uint32 d = 0; d < 256; d++) {
            SDL_FillRect(under, NULL, SDL_MapRGB(under->format, d, 255 - d, d ^ 0x33) | spare);
            blitSurface(sheet, NULL, under, 0, 0);
            for (Uint32 a = 0; a < 256; a++)
                for (Uint32 c = 0; c < 256; c++) {
                    Uint8 r, g, b;
                    SDL_GetRGB(at(under, c, a), under->format, &r, &g, &b);
                    wrong += r != blendChannel(c, d, a) || g != blendChannel(255 - c, 255 - d, a)
                             || b != blendChannel(c ^ 0x5A, d ^ 0x33, a)
                             || (at(under, c, a) & ~colour) != spare;
                }
        }
        EXPECT_EQ(wrong, 0) << "target red mask " << std::hex << m[4];

        // Without alpha blending the alpha channel means nothing: SDL copies.
        setPixelAlphaBlend(sheet, false);
        EXPECT_FALSE(blendsItself(sheet, under));
        blitSurface(sheet, NULL, under, 0, 0);
        Uint8 r, g, b;
        SDL_GetRGB(at(under, 200, 0), under->format, &r, &g, &b);
        EXPECT_TRUE(r == 200 && g == 55 && b == (200 ^ 0x5A)) << "target red mask " << std::hex << m[4];
        SDL_FreeSurface(sheet);
        SDL_FreeSurface(under);
    }
}

// The own blit lands exactly where SDL's copy of the same part lands, for
// parts and positions that SDL has to cut on every side, with and without
// a clip rectangle on the target.
TEST(Blend, ClipsLikeSdl)
{
    ASSERT_NE(openTestVideo(), nullptr);
    // Opaque everywhere, so the blend is a copy and the two must agree.
    SDL_Surface *src = surface(20, 12, aM, [](int x, int y) { return 0xFF000000u | (Uint32)(y * 20 + x + 1); });
    SDL_Surface *plain = surface(20, 12, 0, [&](int x, int y) { return at(src, x, y) & 0xFFFFFF; });
    setPixelAlphaBlend(src, true);
    SDL_Surface *mine = surface(30, 25, 0, [](int, int) { return 0u; });
    SDL_Surface *sdl = surface(30, 25, 0, [](int, int) { return 0u; });

    const SDL_Rect parts[] = { { 0, 0, 20, 12 }, { -5, -3, 12, 9 }, { 15, 8, 40, 40 },
                               { 3, 2, 5, 4 }, { 25, 0, 5, 5 }, { 2, 2, 0, 5 } };
    const SDL_Rect clips[] = { { 0, 0, 30, 25 }, { 4, 3, 10, 12 } };
    const int places[][2] = { { 0, 0 }, { -7, -4 }, { 22, 19 }, { 5, 6 }, { -30, 2 }, { 29, 24 } };
    for (const SDL_Rect &clip : clips)
        for (int usePart = 0; usePart < 7; usePart++)
            for (const auto &p : places) {
                SDL_Rect c = clip;
                for (SDL_Surface *s : { mine, sdl }) {
                    SDL_SetClipRect(s, &c);
                    SDL_FillRect(s, NULL, 0);
                }
                const SDL_Rect *part = usePart < 6 ? &parts[usePart] : NULL;
                blitSurface(src, part, mine, (Sint16)p[0], (Sint16)p[1]);
                SDL_Rect from = part ? *part : SDL_Rect{ 0, 0, 0, 0 };
                SDL_Rect to = { (Sint16)p[0], (Sint16)p[1], 0, 0 };
                SDL_UpperBlit(plain, part ? &from : NULL, sdl, &to);
                int differ = 0;
                for (int y = 0; y < 25; y++)
                    for (int x = 0; x < 30; x++)
                        differ += (at(mine, x, y) & 0xFFFFFF) != (at(sdl, x, y) & 0xFFFFFF);
                EXPECT_EQ(differ, 0) << "part " << usePart << " at " << p[0] << "," << p[1]
                                     << " clip " << clip.x << "," << clip.y;
            }
    // Nothing to draw from or onto: nothing happens.
    blitSurface(NULL, NULL, mine, 0, 0);
    blitSurface(src, NULL, NULL, 0, 0);
    for (SDL_Surface *s : { src, plain, mine, sdl })
        SDL_FreeSurface(s);
}
