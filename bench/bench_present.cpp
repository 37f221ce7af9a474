// Cost of the whole-pixel scaled copy that shows each frame at scale N, on
// its own (the flip is the display's business).
#include <benchmark/benchmark.h>
#include <SDL.h>
#include "platform/display.h"

static void BM_ScaleCopy(benchmark::State &state)
{
    int n = (int)state.range(0);
    SDL_Surface *src = SDL_CreateRGBSurface(SDL_SWSURFACE, gameWidth, gameHeight, 32,
                                            0xFF0000, 0xFF00, 0xFF, 0);
    SDL_Surface *dst = SDL_CreateRGBSurface(SDL_SWSURFACE, gameWidth * n, gameHeight * n, 32,
                                            0xFF0000, 0xFF00, 0xFF, 0);
    if (!src || !dst) {
        state.SkipWithError("no surface");
        return;
    }
    SDL_FillRect(src, NULL, 0x336699);
    for (auto _ : state) {
        scaleCopy(src, dst, n);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * (int64_t)dst->w * dst->h * 4);
    SDL_FreeSurface(dst);
    SDL_FreeSurface(src);
}
BENCHMARK(BM_ScaleCopy)->DenseRange(1, 4);
