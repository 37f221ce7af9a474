// Cost of one whole frame and of one HUD text.
#include <benchmark/benchmark.h>
#include "bench/scene.h"
#include "world/world.h"
#include "render/frame.h"

// Every pool full, every optional text and the game-over picture shown, both
// layers in their two-piece form: the most a frame ever draws.
static void BM_RenderFrameFullPools(benchmark::State &state)
{
    if (!openBenchScene()) {
        state.SkipWithError("no video");
        return;
    }
    fillPools();
    paused = 1;
    godMode = 1;
    gameOver = 1;
    lives = 10;
    scrollX = 3500.5f;
    frontScrollX = 3700.0f;
    for (auto _ : state)
        renderFrame();
    paused = godMode = gameOver = 0;
}
BENCHMARK(BM_RenderFrameFullPools);

static void BM_DrawTextHudLine(benchmark::State &state)
{
    if (!openBenchScene()) {
        state.SkipWithError("no video");
        return;
    }
    int value = 123456;
    for (auto _ : state)
        drawText(screen, bigFont, 300, 460, "%d NEW HIGHSCORE!!", value);
}
BENCHMARK(BM_DrawTextHudLine);
