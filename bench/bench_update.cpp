// Cost of one world update with 50 bullets and 50 enemies in play.
#include <string.h>
#include <benchmark/benchmark.h>
#include "bench/scene.h"
#include "game/update.h"
#include "world/world.h"

// The state one update changes, saved once and put back before each timed
// call so that every iteration starts from full pools.
struct Snapshot {
    Sprite player, bullets[maxBullets], enemies[maxEnemies];
    int bulletActive[maxBullets], enemyActive[maxEnemies], enemyHealth[maxEnemies];
    int score, lives, gameOver;
    uint64_t lastHitAt, lastSpawnAt;
    float scrollX, frontScrollX;
};

static void save(Snapshot &s)
{
    s.player = player;
    for (int i = 0; i < maxBullets; i++)
        s.bullets[i] = bullets[i];
    for (int j = 0; j < maxEnemies; j++)
        s.enemies[j] = enemies[j];
    memcpy(s.bulletActive, bulletActive, sizeof bulletActive);
    memcpy(s.enemyActive, enemyActive, sizeof enemyActive);
    memcpy(s.enemyHealth, enemyHealth, sizeof enemyHealth);
    s.score = score;
    s.lives = lives;
    s.gameOver = gameOver;
    s.lastHitAt = lastHitAt;
    s.lastSpawnAt = lastSpawnAt;
    s.scrollX = scrollX;
    s.frontScrollX = frontScrollX;
}

static void restore(const Snapshot &s)
{
    player = s.player;
    for (int i = 0; i < maxBullets; i++)
        bullets[i] = s.bullets[i];
    for (int j = 0; j < maxEnemies; j++)
        enemies[j] = s.enemies[j];
    memcpy(bulletActive, s.bulletActive, sizeof bulletActive);
    memcpy(enemyActive, s.enemyActive, sizeof enemyActive);
    memcpy(enemyHealth, s.enemyHealth, sizeof enemyHealth);
    score = s.score;
    lives = s.lives;
    gameOver = s.gameOver;
    lastHitAt = s.lastHitAt;
    lastSpawnAt = s.lastSpawnAt;
    scrollX = s.scrollX;
    frontScrollX = s.frontScrollX;
}

static void BM_UpdateWorldFullPools(benchmark::State &state)
{
    if (!openBenchScene()) {
        state.SkipWithError("no video");
        return;
    }
    fillPools();
    static Snapshot start;
    save(start);
    for (auto _ : state) {
        state.PauseTiming();
        restore(start);
        state.ResumeTiming();
        updateWorld();
    }
    restore(start);
    // Points scored by one pass from the start state: shows that hits are
    // really being settled, not only tested.
    updateWorld();
    state.counters["score_per_pass"] = score;
}
BENCHMARK(BM_UpdateWorldFullPools);
