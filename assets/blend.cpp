#include "assets/blend.h"
#include "platform/surface.h"

#include <string.h>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

static bool eightBitChannels(const SDL_PixelFormat *f)
{
    return f->BytesPerPixel == 4 && f->Rloss == 0 && f->Gloss == 0 && f->Bloss == 0;
}

bool blendsItself(const SDL_Surface *src, const SDL_Surface *dst)
{
    const SDL_PixelFormat *s = src->format;
    return blendsPixelAlpha(src) && s->Amask && s->Aloss == 0 && eightBitChannels(s)
        && eightBitChannels(dst->format);
}

// The w x h block at (sx, sy) of src over (dx, dy) of dst, both in range.
// Coverage 0 leaves the pixel, 255 replaces its colour; the bits of dst
// outside its colour channels are kept.
static void blendBlockAnyLayout(const SDL_Surface *src, int sx, int sy, SDL_Surface *dst, int dx,
                                int dy, int w, int h)
{
    const SDL_PixelFormat *sf = src->format, *df = dst->format;
    const Uint32 sR = sf->Rshift, sG = sf->Gshift, sB = sf->Bshift, sA = sf->Ashift;
    const Uint32 dR = df->Rshift, dG = df->Gshift, dB = df->Bshift;
    const Uint32 keep = ~(df->Rmask | df->Gmask | df->Bmask);
    for (int row = 0; row < h; row++) {
        const Uint32 *in = (const Uint32 *)((const Uint8 *)src->pixels + (sy + row) * src->pitch) + sx;
        Uint32 *out = (Uint32 *)((Uint8 *)dst->pixels + (dy + row) * dst->pitch) + dx;
        for (int i = 0; i < w; i++) {
            Uint32 s = in[i];
            Uint32 a = (s >> sA) & 255;
            if (a == 0)
                continue;
            Uint32 r = (s >> sR) & 255, g = (s >> sG) & 255, b = (s >> sB) & 255;
            Uint32 d = out[i];
            if (a != 255) {
                r = blendChannel(r, (d >> dR) & 255, a);
                g = blendChannel(g, (d >> dG) & 255, a);
                b = blendChannel(b, (d >> dB) & 255, a);
            }
            out[i] = (d & keep) | r << dR | g << dG | b << dB;
        }
    }
}

// The same where src and dst keep red, green and blue in the same bytes,
// green between the other two, and src's alpha in the byte at aShift (a
// font sheet over the frame). Red and blue, two bytes apart, go through
// blendChannel's arithmetic in one 32-bit word: each half stays below 65536
// (255 * 255 + 128 + 254), so neither carries into the other, and every pixel
// comes out as blendChannel makes it. Most of a glyph's strip is transparent:
// four such pixels are passed over with one test.
template <int low, int aShift>
static inline void blendPixel(Uint32 s, Uint32 *out, Uint32 colour)
{
    const Uint32 pairMask = 0x00FF00FFu << low;
    Uint32 a = (s >> aShift) & 255;
    if (a == 0)
        return;
    Uint32 d = *out;
    if (a == 255) {
        *out = (d & ~colour) | (s & colour);
        return;
    }
    Uint32 na = 255 - a;
    Uint32 rb = ((s & pairMask) >> low) * a + ((d & pairMask) >> low) * na + 0x00800080u;
    rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
    Uint32 g = ((s >> (low + 8)) & 255) * a + ((d >> (low + 8)) & 255) * na + 128;
    g = (g + (g >> 8)) >> 8;
    *out = (d & ~colour) | rb << low | g << (low + 8);
}

#ifdef __SSE2__
// Four pixels at once, each channel widened to 16 bits: s * a + d * (255 - a)
// + 128 stays below 65536, and so does the rounding step after it, so every
// channel comes out exactly as blendChannel makes it. Coverage 0 gives back d
// and 255 gives s, so no pixel needs a case of its own; only the colour
// channels of the result are written.
template <int aShift>
static inline void blendFour(const Uint32 *in, Uint32 *out, __m128i colour)
{
    const int k = aShift / 8;
    const __m128i zero = _mm_setzero_si128();
    const __m128i full = _mm_set1_epi16(255), half = _mm_set1_epi16(128);
    __m128i s = _mm_loadu_si128((const __m128i *)in);
    __m128i d = _mm_loadu_si128((const __m128i *)out);
    auto mix = [&](__m128i sp, __m128i dp) {
        __m128i a = _mm_shufflelo_epi16(sp, _MM_SHUFFLE(k, k, k, k));
        a = _mm_shufflehi_epi16(a, _MM_SHUFFLE(k, k, k, k));
        __m128i x = _mm_add_epi16(_mm_mullo_epi16(sp, a), _mm_mullo_epi16(dp, _mm_sub_epi16(full, a)));
        x = _mm_add_epi16(x, half);
        return _mm_srli_epi16(_mm_add_epi16(x, _mm_srli_epi16(x, 8)), 8);
    };
    __m128i low = mix(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero));
    __m128i high = mix(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero));
    __m128i mixed = _mm_packus_epi16(low, high);
    _mm_storeu_si128((__m128i *)out, _mm_or_si128(_mm_andnot_si128(colour, d), _mm_and_si128(mixed, colour)));
}
#endif

template <int low, int aShift>
static void blendBlockPaired(const SDL_Surface *src, int sx, int sy, SDL_Surface *dst, int dx, int dy,
                             int w, int h)
{
    const Uint32 colour = dst->format->Rmask | dst->format->Gmask | dst->format->Bmask;
#ifdef __SSE2__
    const __m128i wideColour = _mm_set1_epi32((int)colour);
#endif
    // Whether the four pixels from p on all have alpha 0.
    auto fourClear = [](const Uint32 *p) {
        const Uint64 twoAlphas = (Uint64)(0xFFu << aShift) * 0x100000001ull;
        Uint64 first, second;
        memcpy(&first, p, sizeof first);
        memcpy(&second, p + 2, sizeof second);
        return !((first | second) & twoAlphas);
    };
    for (int row = 0; row < h; row++) {
        const Uint32 *in = (const Uint32 *)((const Uint8 *)src->pixels + (sy + row) * src->pitch) + sx;
        Uint32 *out = (Uint32 *)((Uint8 *)dst->pixels + (dy + row) * dst->pitch) + dx;
        int i = 0;
        for (; i + 4 <= w; i += 4) {
            if (fourClear(in + i))
                continue;
#ifdef __SSE2__
            blendFour<aShift>(in + i, out + i, wideColour);
#else
            blendPixel<low, aShift>(in[i], out + i, colour);
            blendPixel<low, aShift>(in[i + 1], out + i + 1, colour);
            blendPixel<low, aShift>(in[i + 2], out + i + 2, colour);
            blendPixel<low, aShift>(in[i + 3], out + i + 3, colour);
#endif
        }
        for (; i < w; i++)
            blendPixel<low, aShift>(in[i], out + i, colour);
    }
}

static void blendBlock(const SDL_Surface *src, int sx, int sy, SDL_Surface *dst, int dx, int dy,
                       int w, int h)
{
    const SDL_PixelFormat *sf = src->format, *df = dst->format;
    int low = df->Rshift < df->Bshift ? df->Rshift : df->Bshift;
    int high = df->Rshift < df->Bshift ? df->Bshift : df->Rshift;
    bool paired = sf->Rshift == df->Rshift && sf->Gshift == df->Gshift && sf->Bshift == df->Bshift
                  && df->Gshift == low + 8 && high == low + 16;
    if (paired && low == 0 && sf->Ashift == 24)
        blendBlockPaired<0, 24>(src, sx, sy, dst, dx, dy, w, h);
    else if (paired && low == 8 && sf->Ashift == 0)
        blendBlockPaired<8, 0>(src, sx, sy, dst, dx, dy, w, h);
    else
        blendBlockAnyLayout(src, sx, sy, dst, dx, dy, w, h);
}

// SDL's clipping of a blit: the part is cut to src, moving the destination
// with a cut left or top edge, then to dst's clip rectangle.
static void blendClipped(SDL_Surface *src, const SDL_Rect *part, SDL_Surface *dst, int x, int y)
{
    int sx = 0, sy = 0, w = src->w, h = src->h;
    if (part) {
        sx = part->x;
        sy = part->y;
        w = part->w;
        h = part->h;
        if (sx < 0) {
            w += sx;
            x -= sx;
            sx = 0;
        }
        if (sy < 0) {
            h += sy;
            y -= sy;
            sy = 0;
        }
        if (w > src->w - sx)
            w = src->w - sx;
        if (h > src->h - sy)
            h = src->h - sy;
    }
    const SDL_Rect &clip = dst->clip_rect;
    if (x < clip.x) {
        w -= clip.x - x;
        sx += clip.x - x;
        x = clip.x;
    }
    if (y < clip.y) {
        h -= clip.y - y;
        sy += clip.y - y;
        y = clip.y;
    }
    if (x + w > clip.x + clip.w)
        w = clip.x + clip.w - x;
    if (y + h > clip.y + clip.h)
        h = clip.y + clip.h - y;
    if (w <= 0 || h <= 0)
        return;

    if (SDL_MUSTLOCK(src) && SDL_LockSurface(src) < 0)
        return;
    if (SDL_MUSTLOCK(dst) && SDL_LockSurface(dst) < 0) {
        if (SDL_MUSTLOCK(src))
            SDL_UnlockSurface(src);
        return;
    }
    blendBlock(src, sx, sy, dst, x, y, w, h);
    if (SDL_MUSTLOCK(dst))
        SDL_UnlockSurface(dst);
    if (SDL_MUSTLOCK(src))
        SDL_UnlockSurface(src);
}

void blitSurface(SDL_Surface *src, const SDL_Rect *part, SDL_Surface *dst, Sint16 x, Sint16 y)
{
    if (!src || !dst)
        return;
    if (blendsItself(src, dst)) {
        blendClipped(src, part, dst, x, y);
        return;
    }
    SDL_Rect from = part ? *part : SDL_Rect{ 0, 0, 0, 0 };
    SDL_Rect to = { x, y, 0, 0 };   // SDL takes the size from the source part
    SDL_UpperBlit(src, part ? &from : NULL, dst, &to);
}
