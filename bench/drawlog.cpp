// Linked into the logging build of the game with --wrap for SDL_UpperBlit,
// SDL_FillRect and SDL_Flip: each call is written to the file named by
// DRIFTWING_DRAWLOG and then made as usual. The game's own blit is wrapped
// too: the blits it blends itself never reach SDL_UpperBlit, so they are
// logged there, as the SDL blits that the reference makes of them (SDL's
// own per-pixel alpha blend, the work the game's blend stands in for). Logging starts after the first
// flip (the loading screen), so it covers the frame loop only.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <SDL.h>
#include "bench/drawlog.h"
#include "assets/blend.h"

extern "C" {
int __real_SDL_UpperBlit(SDL_Surface *, SDL_Rect *, SDL_Surface *, SDL_Rect *);
int __real_SDL_FillRect(SDL_Surface *, SDL_Rect *, Uint32);
int __real_SDL_Flip(SDL_Surface *);
// blitSurface(SDL_Surface *, const SDL_Rect *, SDL_Surface *, Sint16, Sint16)
void __real__Z11blitSurfaceP11SDL_SurfacePK8SDL_RectS0_ss(SDL_Surface *, const SDL_Rect *,
                                                          SDL_Surface *, Sint16, Sint16);
}

static FILE *logFile;
static int flips;
static const int maxSurfaces = 4096;
static SDL_Surface *known[maxSurfaces];
static int knownCount;

static void put(const void *p, size_t n) { fwrite(p, 1, n, logFile); }
template <typename T> static void putv(T v) { put(&v, sizeof v); }

static bool logging()
{
    if (flips < 1)
        return false;
    if (!logFile) {
        const char *path = getenv("DRIFTWING_DRAWLOG");
        if (!path)
            return false;
        logFile = fopen(path, "wb");
        known[knownCount++] = SDL_GetVideoSurface();   // id 0
    }
    return logFile != nullptr;
}

static Uint32 surfaceId(SDL_Surface *s)
{
    for (int i = 0; i < knownCount; i++)
        if (known[i] == s)
            return (Uint32)i;
    if (knownCount >= maxSurfaces)
        abort();
    Uint32 id = (Uint32)knownCount;
    known[knownCount++] = s;
    SDL_PixelFormat *f = s->format;
    putv('S');
    putv(id);
    Sint32 dims[] = { s->w, s->h, f->BitsPerPixel, s->pitch };
    put(dims, sizeof dims);
    Uint32 masks[] = { f->Rmask, f->Gmask, f->Bmask, f->Amask, s->flags, f->colorkey };
    put(masks, sizeof masks);
    putv(f->alpha);
    SDL_LockSurface(s);
    put(s->pixels, (size_t)s->h * s->pitch);
    SDL_UnlockSurface(s);
    return id;
}

static void putRect(const SDL_Rect *r)
{
    putv((Uint8)(r != nullptr));
    SDL_Rect z = { 0, 0, 0, 0 };
    if (!r)
        r = &z;
    putv(r->x);
    putv(r->y);
    putv(r->w);
    putv(r->h);
}

static void logBlit(SDL_Surface *src, const SDL_Rect *sr, SDL_Surface *dst, Sint16 x, Sint16 y)
{
    Uint32 s = surfaceId(src), d = surfaceId(dst);
    putv('B');
    putv(s);
    putv(d);
    putRect(sr);
    putv(x);
    putv(y);
}

extern "C" int __wrap_SDL_UpperBlit(SDL_Surface *src, SDL_Rect *sr, SDL_Surface *dst, SDL_Rect *dr)
{
    if (src && dst && logging())
        logBlit(src, sr, dst, dr ? dr->x : (Sint16)0, dr ? dr->y : (Sint16)0);
    return __real_SDL_UpperBlit(src, sr, dst, dr);
}

extern "C" void __wrap__Z11blitSurfaceP11SDL_SurfacePK8SDL_RectS0_ss(
    SDL_Surface *src, const SDL_Rect *sr, SDL_Surface *dst, Sint16 x, Sint16 y)
{
    // The others go on to SDL_UpperBlit and are logged there.
    if (src && dst && blendsItself(src, dst) && logging())
        logBlit(src, sr, dst, x, y);
    __real__Z11blitSurfaceP11SDL_SurfacePK8SDL_RectS0_ss(src, sr, dst, x, y);
}

extern "C" int __wrap_SDL_FillRect(SDL_Surface *dst, SDL_Rect *r, Uint32 colour)
{
    if (dst && logging()) {
        Uint32 d = surfaceId(dst);
        putv('F');
        putv(d);
        putRect(r);
        putv(colour);
    }
    return __real_SDL_FillRect(dst, r, colour);
}

extern "C" int __wrap_SDL_Flip(SDL_Surface *s)
{
    if (logging())
        putv('P');
    flips++;
    int rc = __real_SDL_Flip(s);
    if (logFile)
        fflush(logFile);
    return rc;
}
