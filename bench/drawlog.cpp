// Linked into the logging build of the game with --wrap for SDL_UpperBlit,
// SDL_FillRect and the calls that show a frame (SDL_Flip on SDL 1.2,
// SDL_RenderPresent and SDL_UpdateWindowSurface on SDL 2; SDL_CreateWindow
// too, to find the window): each call is written to the file named by
// DRIFTWING_DRAWLOG and then made as usual. The game's own blit is wrapped
// too: the blits it blends itself never reach SDL_UpperBlit, so they are
// logged there, as the SDL blits that the reference makes of them (SDL's
// own per-pixel alpha blend, the work the game's blend stands in for).
// Logging starts after the first frame shown (the loading screen), so it
// covers the frame loop only. The log starts with how frames are shown, so
// that the reference shows them the same way.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <SDL.h>
#include "bench/drawlog.h"
#include "assets/blend.h"
#include "platform/display.h"
#include "world/world.h"

// SDL 2 takes the source and fill rectangles as const.
#if SDL_MAJOR_VERSION >= 2
typedef const SDL_Rect InRect;
#else
typedef SDL_Rect InRect;
#endif

extern "C" {
int __real_SDL_UpperBlit(SDL_Surface *, InRect *, SDL_Surface *, SDL_Rect *);
int __real_SDL_FillRect(SDL_Surface *, InRect *, Uint32);
#if SDL_MAJOR_VERSION >= 2
void __real_SDL_RenderPresent(SDL_Renderer *);
int __real_SDL_UpdateWindowSurface(SDL_Window *);
SDL_Window *__real_SDL_CreateWindow(const char *, int, int, int, int, Uint32);
#else
int __real_SDL_Flip(SDL_Surface *);
#endif
// blitSurface(SDL_Surface *, const SDL_Rect *, SDL_Surface *, Sint16, Sint16)
void __real__Z11blitSurfaceP11SDL_SurfacePK8SDL_RectS0_ss(SDL_Surface *, const SDL_Rect *,
                                                          SDL_Surface *, Sint16, Sint16);
}

static FILE *logFile;
static int shown;     // frames shown so far
static const int maxSurfaces = 4096;
static SDL_Surface *known[maxSurfaces];
static int knownCount;

static void put(const void *p, size_t n) { fwrite(p, 1, n, logFile); }
template <typename T> static void putv(T v) { put(&v, sizeof v); }

#if SDL_MAJOR_VERSION >= 2
static SDL_Window *gameWindow;
#endif

// How the game shows its frames, as the 'V' record gives it.
static void logShowing()
{
    Sint32 size[3] = { 0, 0, presentScale };
    Uint32 flags = 0;
    char name[256] = "";
#if SDL_MAJOR_VERSION >= 2
    SDL_GetWindowSize(gameWindow, &size[0], &size[1]);
    if (SDL_GetWindowFlags(gameWindow) & SDL_WINDOW_FULLSCREEN)
        flags |= showFullScreen;
    SDL_RendererInfo info;
    SDL_Renderer *renderer = SDL_GetRenderer(gameWindow);
    if (renderer && SDL_GetRendererInfo(renderer, &info) == 0)
        snprintf(name, sizeof name, "%s", info.name);
#else
    SDL_Surface *video = SDL_GetVideoSurface();
    size[0] = video->w;
    size[1] = video->h;
    if (video->flags & SDL_FULLSCREEN)
        flags |= showFullScreen;
    if (video != screen)
        flags |= showOffscreen;
#endif
    putv('V');
    put(size, sizeof size);
    putv(flags);
    putv((Uint8)strlen(name));
    put(name, strlen(name));
}

static bool logging()
{
    if (shown < 1)
        return false;
    if (!logFile) {
        const char *path = getenv("DRIFTWING_DRAWLOG");
        if (!path)
            return false;
        logFile = fopen(path, "wb");
        if (!logFile)
            return false;
        logShowing();
        known[knownCount++] = screen;   // id 0
    }
    return logFile != nullptr;
}

// A surface's colour key, blending and RLE wish in the log's terms.
static void blitSettings(SDL_Surface *s, Uint32 *flags, Uint32 *key, Uint8 *alpha)
{
#if SDL_MAJOR_VERSION >= 2
    SDL_BlendMode mode = SDL_BLENDMODE_NONE;
    *key = 0;
    *alpha = 255;
    *flags = SDL_GetColorKey(s, key) == 0 ? logColourKey : 0;
    if (SDL_GetSurfaceBlendMode(s, &mode) == 0 && mode == SDL_BLENDMODE_BLEND)
        *flags |= logAlphaBlend;
    if (SDL_HasSurfaceRLE(s))
        *flags |= logRle;
    SDL_GetSurfaceAlphaMod(s, alpha);
#else
    *flags = ((s->flags & SDL_SRCCOLORKEY) ? logColourKey : 0) | ((s->flags & SDL_SRCALPHA) ? logAlphaBlend : 0)
             | ((s->flags & SDL_RLEACCELOK) ? logRle : 0);
    *key = s->format->colorkey;
    *alpha = s->format->alpha;
#endif
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
    Uint32 flags, key;
    Uint8 alpha;
    blitSettings(s, &flags, &key, &alpha);
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

extern "C" int __wrap_SDL_UpperBlit(SDL_Surface *src, InRect *sr, SDL_Surface *dst, SDL_Rect *dr)
{
    if (src && dst && logging())
        logBlit(src, sr, dst, (Sint16)(dr ? dr->x : 0), (Sint16)(dr ? dr->y : 0));
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

extern "C" int __wrap_SDL_FillRect(SDL_Surface *dst, InRect *r, Uint32 colour)
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

static void logShown()
{
    if (logging())
        putv('P');
    shown++;
}

#if SDL_MAJOR_VERSION >= 2
extern "C" void __wrap_SDL_RenderPresent(SDL_Renderer *r)
{
    logShown();
    __real_SDL_RenderPresent(r);
    if (logFile)
        fflush(logFile);
}

extern "C" int __wrap_SDL_UpdateWindowSurface(SDL_Window *w)
{
    logShown();
    int rc = __real_SDL_UpdateWindowSurface(w);
    if (logFile)
        fflush(logFile);
    return rc;
}

extern "C" SDL_Window *__wrap_SDL_CreateWindow(const char *title, int x, int y, int w, int h, Uint32 flags)
{
    gameWindow = __real_SDL_CreateWindow(title, x, y, w, h, flags);
    return gameWindow;
}
#else
extern "C" int __wrap_SDL_Flip(SDL_Surface *s)
{
    logShown();
    int rc = __real_SDL_Flip(s);
    if (logFile)
        fflush(logFile);
    return rc;
}
#endif
