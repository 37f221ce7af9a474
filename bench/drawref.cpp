// The reference for the timed demos: plain SDL, no game code. It reads a
// draw log (drawlog.h), makes the same surfaces, and times the same fills,
// blits and frames shown, on the dummy drivers, shown the way the log says
// the game showed them: the same video mode or window (its size, full
// screen or not), on SDL 1.2 the same flip of the video surface (after a
// copy from an off-screen picture where the game draws off-screen), on SDL 2
// the same renderer drawing a streaming texture at a whole factor, or a copy
// into the window's own surface.
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

// How the game showed its frames: the log's 'V' record.
struct Showing {
    int w, h, scale;
    Uint32 flags;
    char renderer[256];
};

static Showing readShowing()
{
    Showing v = {};
    if (get<char>() != 'V') {
        fprintf(stderr, "drawref: the log does not start with how frames are shown\n");
        exit(1);
    }
    v.w = get<Sint32>();
    v.h = get<Sint32>();
    v.scale = get<Sint32>();
    v.flags = get<Uint32>();
    Uint8 n = get<Uint8>();
    for (int i = 0; i < n; i++)
        v.renderer[i] = get<char>();
    if (v.scale != 1) {
        // The dummy drivers' desktop holds only scale 1, which is all the
        // timed runs use.
        fprintf(stderr, "drawref: frames shown at scale %d are not repeated\n", v.scale);
        exit(1);
    }
    return v;
}

static SDL_Surface *picture;        // what the drawing goes into, 640 x 480
static SDL_Rect centred(int w, int h)
{
    SDL_Rect r = { (Sint16)((w - 640) / 2), (Sint16)((h - 480) / 2), 640, 480 };
    return r;
}

#if SDL_MAJOR_VERSION >= 2
static SDL_Window *window;
static SDL_Renderer *renderer;
static SDL_Texture *texture;
static bool clearEachFrame;
static int clearedW = -1, clearedH = -1;

static SDL_Surface *openScreen(const Showing &v)
{
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    Uint32 flags = SDL_WINDOW_RESIZABLE | ((v.flags & showFullScreen) ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    window = SDL_CreateWindow("drawref", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                              640 * v.scale, 480 * v.scale, flags);
    if (!window)
        return nullptr;
    picture = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_RGB888);
    if (!v.renderer[0]) {
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        return SDL_GetWindowSurface(window) ? picture : nullptr;
    }
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, v.renderer);
    if (!(renderer = SDL_CreateRenderer(window, -1, 0)))
        return nullptr;
    SDL_RendererInfo info;
    clearEachFrame = SDL_GetRendererInfo(renderer, &info) != 0 || strcmp(info.name, "software") != 0;
    SDL_RenderSetLogicalSize(renderer, 640, 480);
    SDL_RenderSetIntegerScale(renderer, SDL_TRUE);
    texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, 640, 480);
    return picture;
}

static void present()
{
    if (!renderer) {
        SDL_Surface *ws = SDL_GetWindowSurface(window);
        SDL_Rect to = centred(ws->w, ws->h);
        SDL_BlitSurface(picture, NULL, ws, &to);
        SDL_UpdateWindowSurface(window);
        return;
    }
    SDL_UpdateTexture(texture, NULL, picture->pixels, picture->pitch);
    // A renderer drawing into memory keeps the last frame, bars and all:
    // the bars are cleared when the size changes.
    int w, h;
    SDL_GetRendererOutputSize(renderer, &w, &h);
    if (clearEachFrame || w != clearedW || h != clearedH) {
        SDL_RenderClear(renderer);
        clearedW = w;
        clearedH = h;
    }
    SDL_RenderCopy(renderer, texture, NULL, NULL);
    SDL_RenderPresent(renderer);
}
#else
static SDL_Surface *video;

static SDL_Surface *openScreen(const Showing &v)
{
    video = SDL_SetVideoMode(v.w, v.h, 32, (v.flags & showFullScreen) ? SDL_FULLSCREEN : 0);
    if (!video)
        return nullptr;
    if (!(v.flags & showOffscreen))
        return picture = video;
    const SDL_PixelFormat *f = video->format;
    return picture = SDL_CreateRGBSurface(SDL_SWSURFACE, 640, 480, 32, f->Rmask, f->Gmask, f->Bmask, 0);
}

static void present()
{
    if (picture != video) {
        SDL_Rect to = centred(video->w, video->h);
        SDL_BlitSurface(picture, NULL, video, &to);
    }
    SDL_Flip(video);
}
#endif

// The frame loop, apart so that an instruction count can take it alone.
__attribute__((noinline)) static long replay(const std::vector<Op> &ops,
                                            const std::vector<SDL_Surface *> &surfaces)
{
    long frames = 0;
    for (const Op &op : ops) {
        if (op.kind == 'B') {
            SDL_Rect src = op.rect, dst = { op.dx, op.dy, 0, 0 };
            SDL_UpperBlit(surfaces[op.src], op.hasRect ? &src : NULL, surfaces[op.dst], &dst);
        } else if (op.kind == 'F') {
            SDL_Rect r = op.rect;
            SDL_FillRect(surfaces[op.dst], op.hasRect ? &r : NULL, op.colour);
        } else {
            present();
            frames++;
        }
    }
    return frames;
}

static std::vector<Uint8> readFile(const char *path)
{
    std::vector<Uint8> data;
    FILE *f = fopen(path, "rb");
    if (!f) {
        perror(path);
        exit(1);
    }
    Uint8 buf[65536];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0)
        data.insert(data.end(), buf, buf + n);
    fclose(f);
    return data;
}

int main(int argc, char **argv)
{
    // The dummy drivers unless the caller chose others (to measure what X
    // costs, say).
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
#if SDL_MAJOR_VERSION < 2
    // What the game asks of the SDL 2 based SDL 1.2 library before it
    // starts: drawing straight into the window, scaling by whole pixels.
    setenv("SDL_RENDER_DRIVER", "software", 0);
    setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 0);
    setenv("SDL12COMPAT_SCALE_METHOD", "nearest", 0);
#endif
    if (argc != 2) {
        fprintf(stderr, "usage: drawref LOG | drawref --rss\n");
        return 2;
    }
    if (SDL_Init(SDL_INIT_AUDIO | SDL_INIT_VIDEO) < 0)
        return 1;
    if (strcmp(argv[1], "--rss") == 0) {
        Showing plain = { 640, 480, 1, 0, "software" };
        if (!openScreen(plain))
            return 1;
        long video = peakKb();
        Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 2048);
        printf("peak RSS with nothing loaded: video %ld KB, with the mixer open %ld KB\n", video, peakKb());
        return 0;
    }
    std::vector<Uint8> data = readFile(argv[1]);
    p = data.data();
    end = p + data.size();
    SDL_Surface *screen = openScreen(readShowing());
    if (!screen) {
        fprintf(stderr, "drawref: %s\n", SDL_GetError());
        return 1;
    }

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
    Uint32 start = SDL_GetTicks();
    long frames = replay(ops, surfaces);
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
