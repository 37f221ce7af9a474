// The draw log of a build on SDL 2, linked in with --wrap for SDL_UpperBlit,
// SDL_FillRect and SDL_RenderPresent: each call is written to the file named
// by DRIFTWING_DRAWLOG and then made as usual. Logging starts after the
// first frame shown (the loading screen), so it covers the frame loop only.
// A surface's flags are 1 for a colour key and 2 for alpha blending, and its
// alpha is SDL 2's alpha modulation.
#include <stdio.h>
#include <stdlib.h>
#include <SDL.h>
#include "bench/drawlog.h"
#include "world/world.h"

extern "C" {
int __real_SDL_UpperBlit(SDL_Surface *, const SDL_Rect *, SDL_Surface *, SDL_Rect *);
int __real_SDL_FillRect(SDL_Surface *, const SDL_Rect *, Uint32);
void __real_SDL_RenderPresent(SDL_Renderer *);
}

static FILE *logFile;
static int presents;
static const int maxSurfaces = 4096;
static SDL_Surface *known[maxSurfaces];
static int knownCount;

static void put(const void *p, size_t n) { fwrite(p, 1, n, logFile); }
template <typename T> static void putv(T v) { put(&v, sizeof v); }

static bool logging()
{
    if (presents < 1)
        return false;
    if (!logFile) {
        const char *path = getenv("DRIFTWING_DRAWLOG");
        if (!path)
            return false;
        logFile = fopen(path, "wb");
        known[knownCount++] = screen;   // id 0
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
    Uint32 key = 0;
    SDL_BlendMode mode = SDL_BLENDMODE_NONE;
    Uint8 alpha = 255;
    Uint32 flags = SDL_GetColorKey(s, &key) == 0 ? 1 : 0;
    if (SDL_GetSurfaceBlendMode(s, &mode) == 0 && mode == SDL_BLENDMODE_BLEND)
        flags |= 2;
    SDL_GetSurfaceAlphaMod(s, &alpha);
    Uint32 masks[] = { f->Rmask, f->Gmask, f->Bmask, f->Amask, flags, key };
    put(masks, sizeof masks);
    putv(alpha);
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
    putv((Sint16)r->x);
    putv((Sint16)r->y);
    putv((Uint16)r->w);
    putv((Uint16)r->h);
}

extern "C" int __wrap_SDL_UpperBlit(SDL_Surface *src, const SDL_Rect *sr, SDL_Surface *dst, SDL_Rect *dr)
{
    if (src && dst && logging()) {
        Uint32 s = surfaceId(src), d = surfaceId(dst);
        putv('B');
        putv(s);
        putv(d);
        putRect(sr);
        putv((Sint16)(dr ? dr->x : 0));
        putv((Sint16)(dr ? dr->y : 0));
    }
    return __real_SDL_UpperBlit(src, sr, dst, dr);
}

extern "C" int __wrap_SDL_FillRect(SDL_Surface *dst, const SDL_Rect *r, Uint32 colour)
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

extern "C" void __wrap_SDL_RenderPresent(SDL_Renderer *r)
{
    if (logging())
        putv('P');
    presents++;
    __real_SDL_RenderPresent(r);
    if (logFile)
        fflush(logFile);
}
