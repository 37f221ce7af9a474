// The sprite-set "info" reader with its frame loading. The input is the info
// file, optionally followed by a NUL byte and the bytes of a frame bitmap
// "x.bmp"; the set directory also holds two good frames, "a.bmp" and
// "b.bmp". A set that loads must keep a surface in every entry it counts
// (a count past what was allocated reads out of bounds here), and its
// sprites draw and animate.
#include "fuzz/harness.h"
#include <string.h>
#include "assets/spriteset.h"
#include "objects/sprite.h"
#include "core/ticks.h"

static SDL_Surface *screen;
static std::string dir;
static Uint32 fakeNow;
static Uint32 fakeTicks(void) { return fakeNow += 37; }

static void saveFrame(const char *name, int w, int h, int bpp)
{
    SDL_Surface *s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, bpp, 0, 0, 0, 0);
    if (!s)
        abort();
    SDL_FillRect(s, NULL, SDL_MapRGB(s->format, 200, 40, 90));
    if (SDL_SaveBMP(s, (dir + "/" + name).c_str()) != 0)
        abort();
    SDL_FreeSurface(s);
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    screen = fuzzVideo();
    dir = fuzzScratch("set");
    saveFrame("a.bmp", 5, 3, 24);
    saveFrame("b.bmp", 7, 2, 8);
    tickSource = fakeTicks;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const uint8_t *nul = (const uint8_t *)memchr(data, 0, size);
    size_t infoSize = nul ? (size_t)(nul - data) : size;
    fuzzFile(dir + "/info", data, infoSize);
    fuzzFile(dir + "/x.bmp", nul ? nul + 1 : NULL, nul ? size - infoSize - 1 : 0);

    SpriteSet set;
    memset(&set, 0, sizeof set);
    loadSpriteSet(&set, dir.c_str());
    for (int i = 0; i < set.frameCount; i++)
        if (!set.frames[i].surface)
            abort();

    Sprite s;
    s.init(&set, screen);
    s.setDelayFactor(1.0f);
    s.startAnim();
    for (int i = 0; i < 4; i++) {
        s.saveBackground();
        s.draw();
        s.restoreBackground();
    }
    s.releaseBackground();
    freeSpriteSet(&set);
    return 0;
}
