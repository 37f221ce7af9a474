// The reference for the timed demos: plain SDL, no game code. It reads a
// draw log (drawlog.h), makes the same surfaces, and times the same fills,
// blits and frames shown on the same 640x480x32 dummy-driver screen: on
// SDL 1.2 a flip of the video surface, on SDL 2 what the game does to show a
// frame, an upload to a streaming texture that a renderer draws at a whole
// factor.
//   drawref LOG      prints the passes, seconds and passes per second
//   drawref --rss    prints the peak resident memory of SDL's video, the
//                    mixer and audio opened with nothing loaded
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <vector>
#include <SDL.h>
#include <SDL_mixer.h>
#include "bench/drawlog.h"

static long peakKb()
{
    FILE *f = fopen("/proc/self/status", "r");
    char line[256];
    long kb = -1;
    while (f && fgets(line, sizeof line, f))
        if (strncmp(line, "VmHWM:", 6) == 0)
            kb = atol(line + 6);
    if (f)
        fclose(f);
    return kb;
}

struct Op {
    char kind;
    Uint32 src, dst;
    Uint8 hasRect;
    SDL_Rect rect;
    Sint16 dx, dy;
    Uint32 colour;
};

static const Uint8 *p, *end;
template <typename T> static T get()
{
    T v;
    if (end - p < (long)sizeof v) {
        fprintf(stderr, "drawref: log cut short\n");
        exit(1);
    }
    memcpy(&v, p, sizeof v);
    p += sizeof v;
    return v;
}

static SDL_Rect getRect(Uint8 *has)
{
    *has = get<Uint8>();
    SDL_Rect r;
    r.x = get<Sint16>();
    r.y = get<Sint16>();
    r.w = get<Uint16>();
    r.h = get<Uint16>();
    return r;
}

static SDL_Surface *readSurface()
{
    Sint32 w = get<Sint32>(), h = get<Sint32>(), bpp = get<Sint32>(), pitch = get<Sint32>();
    Uint32 rm = get<Uint32>(), gm = get<Uint32>(), bm = get<Uint32>(), am = get<Uint32>();
    Uint32 flags = get<Uint32>(), key = get<Uint32>();
    Uint8 alpha = get<Uint8>();
    SDL_Surface *s = SDL_CreateRGBSurface(0, w, h, bpp, rm, gm, bm, am);
    SDL_LockSurface(s);
    for (int y = 0; y < h; y++)
        memcpy((Uint8 *)s->pixels + y * s->pitch, p + (size_t)y * pitch, (size_t)w * (bpp / 8));
    SDL_UnlockSurface(s);
    p += (size_t)h * pitch;
#if SDL_MAJOR_VERSION >= 2
    if (flags & logColourKey)
        SDL_SetColorKey(s, SDL_TRUE, key);
    SDL_SetSurfaceRLE(s, (flags & logRle) != 0);
    SDL_SetSurfaceBlendMode(s, (flags & logAlphaBlend) ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_NONE);
    SDL_SetSurfaceAlphaMod(s, alpha);
#else
    Uint32 rle = (flags & logRle) ? SDL_RLEACCELOK : 0;
    if (flags & logColourKey)
        SDL_SetColorKey(s, SDL_SRCCOLORKEY | rle, key);
    SDL_SetAlpha(s, ((flags & logAlphaBlend) ? SDL_SRCALPHA : 0) | rle, alpha);
#endif
    return s;
}

#if SDL_MAJOR_VERSION >= 2
static SDL_Renderer *renderer;
static SDL_Texture *texture;

// The game's presenting: whole-factor scaling of a streaming texture.
static SDL_Surface *openScreen()
{
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    SDL_Window *window = SDL_CreateWindow("drawref", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                          640, 480, SDL_WINDOW_RESIZABLE);
    if (!window || !(renderer = SDL_CreateRenderer(window, -1, 0)))
        return nullptr;
    SDL_RenderSetLogicalSize(renderer, 640, 480);
    SDL_RenderSetIntegerScale(renderer, SDL_TRUE);
    texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, 640, 480);
    return SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_RGB888);
}

static void present(SDL_Surface *screen)
{
    SDL_UpdateTexture(texture, NULL, screen->pixels, screen->pitch);
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, texture, NULL, NULL);
    SDL_RenderPresent(renderer);
}
#else
static SDL_Surface *openScreen()
{
    return SDL_SetVideoMode(640, 480, 32, SDL_FULLSCREEN);
}

static void present(SDL_Surface *screen)
{
    SDL_Flip(screen);
}
#endif

int main(int argc, char **argv)
{
    // The dummy drivers unless the caller chose others (to measure what X
    // costs, say).
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    // What the game asks of the SDL 2 based SDL 1.2 library (and, for the
    // window's surface, of SDL 2) before it starts: drawing straight into
    // the window, scaling by whole pixels.
    setenv("SDL_RENDER_DRIVER", "software", 0);
    setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 0);
    setenv("SDL12COMPAT_SCALE_METHOD", "nearest", 0);
    if (argc != 2) {
        fprintf(stderr, "usage: drawref LOG | drawref --rss\n");
        return 2;
    }
    if (SDL_Init(SDL_INIT_AUDIO | SDL_INIT_VIDEO) < 0)
        return 1;
    SDL_Surface *screen = openScreen();
    if (!screen)
        return 1;
    if (strcmp(argv[1], "--rss") == 0) {
        long video = peakKb();
        Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 2048);
        printf("peak RSS with nothing loaded: video %ld KB, with the mixer open %ld KB\n", video, peakKb());
        return 0;
    }
    FILE *f = fopen(argv[1], "rb");
    if (!f)
        return 1;
    std::vector<Uint8> data;
    Uint8 buf[65536];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0)
        data.insert(data.end(), buf, buf + n);
    fclose(f);
    p = data.data();
    end = p + data.size();

    std::vector<SDL_Surface *> surfaces(1, screen);
    std::vector<Op> ops;
    while (p < end) {
        Op op = {};
        op.kind = get<char>();
        if (op.kind == 'S') {
            Uint32 id = get<Uint32>();
            if (id != surfaces.size()) {
                fprintf(stderr, "drawref: surfaces out of order\n");
                return 1;
            }
            surfaces.push_back(readSurface());
            continue;
        }
        if (op.kind == 'B') {
            op.src = get<Uint32>();
            op.dst = get<Uint32>();
            op.rect = getRect(&op.hasRect);
            op.dx = get<Sint16>();
            op.dy = get<Sint16>();
        } else if (op.kind == 'F') {
            op.dst = get<Uint32>();
            op.rect = getRect(&op.hasRect);
            op.colour = get<Uint32>();
        } else if (op.kind != 'P') {
            fprintf(stderr, "drawref: bad log\n");
            return 1;
        }
        ops.push_back(op);
    }
    // The screen was logged as id 0 with its pixels too; use the real one.
    long frames = 0;
    Uint32 start = SDL_GetTicks();
    for (Op &op : ops) {
        if (op.kind == 'B') {
            SDL_Rect src = op.rect, dst = { op.dx, op.dy, 0, 0 };
            SDL_UpperBlit(surfaces[op.src], op.hasRect ? &src : NULL, surfaces[op.dst], &dst);
        } else if (op.kind == 'F') {
            SDL_Rect r = op.rect;
            SDL_FillRect(surfaces[op.dst], op.hasRect ? &r : NULL, op.colour);
        } else {
            present(screen);
            frames++;
        }
    }
    double seconds = (SDL_GetTicks() - start) / 1000.0;
    printf("reference: %ld frames, %zu fills and blits, %.3f s, %.1f frames/s\n", frames,
           ops.size() - frames, seconds, seconds > 0 ? frames / seconds : 0.0);
    // What each picture drawn in the loop costs decoded.
    long total = 0;
    for (size_t i = 1; i < surfaces.size(); i++) {
        long kb = (long)surfaces[i]->h * surfaces[i]->pitch / 1024;
        total += kb;
        printf("  surface %zu: %dx%d, %d bits, %ld KB\n", i, surfaces[i]->w, surfaces[i]->h,
               surfaces[i]->format->BitsPerPixel, kb);
    }
    printf("  surfaces drawn in the loop: %ld KB decoded\n", total);
    return 0;
}
