// A day of play through the frame-pass seam, in seconds: scripted firing,
// steering, crashes, pauses and restarts over passes of 1 to 50 ms with a few
// stalls of seconds, the tick clock crossing its 32-bit wrap. Nothing is
// drawn (no screen), so the rules alone are timed. Every pass is checked
// against the rules: the clock, the spawn timer, the pools, score and lives,
// and no heap allocation once play has started.
#include <gtest/gtest.h>
#include <string.h>
#include "tests/alloccount.h"
#include "world/world.h"
#include "game/loop.h"
#include "game/startup.h"

// The script's own generator, so that the game's rand() sequence is its own.
static Uint32 scriptState = 12345;
static Uint32 nextRandom(Uint32 below)
{
    scriptState = scriptState * 1664525u + 1013904223u;
    return (scriptState >> 8) % below;
}

// A loaded set of count frames of w x h pixels, each 80 ms; never drawn.
static void makeSet(SpriteSet *set, int count, int w, int h)
{
    set->frames = new SpriteFrame[count]();
    for (int i = 0; i < count; i++)
        set->frames[i] = { SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0, 0, 0, 0), 80 };
    set->loaded = 1;
    set->frameCount = count;
    set->frameWidth = w;
    set->frameHeight = h;
}

// What a pass is checked against: the state before it.
struct Before {
    double distance;
    uint64_t lastSpawnAt;
    int score, lives, gameOver, paused;
    int enemyActive[maxEnemies], enemyHealth[maxEnemies];
    float enemyX[maxEnemies];
};

static Before snapshot()
{
    Before b;
    b.distance = distance;
    b.lastSpawnAt = lastSpawnAt;
    b.score = score;
    b.lives = lives;
    b.gameOver = gameOver;
    b.paused = paused;
    for (int j = 0; j < maxEnemies; j++) {
        b.enemyActive[j] = enemyActive[j];
        b.enemyHealth[j] = enemyHealth[j];
        b.enemyX[j] = enemies[j].getX();
    }
    return b;
}

// The points that the health an enemy lost in one pass is worth: 1 for a
// hit it survives, 10 for each hit from the one that destroys it on.
// False when the slot was taken by a new enemy in the same pass, which hides
// what the old one lost.
static bool pointsFor(const Before &b, int j, bool spawned, long *points)
{
    if (b.enemyActive[j] != 1)
        return true;
    if (spawned && enemyActive[j] == 1 && enemies[j].getX() == 640.0f && b.enemyX[j] != 640.0f)
        return false;
    for (int h = enemyHealth[j]; h < b.enemyHealth[j]; h++)
        *points += h > 0 ? 1 : 10;
    return true;
}

TEST(Soak, ADayOfPlayKeepsTheRulesAndTheHeap)
{
    screen = nullptr;
    makeSet(&shipSet, 2, 60, 40);
    makeSet(&bulletSet, 1, 12, 4);
    makeSet(&enemySet, 2, 44, 30);
    makeSet(&cloudSet, 1, 120, 60);
    bindSprites();
    player.setPos(50.0f, 220.0f);
    player.setDelayFactor(1.0f);
    srand(7);
    // The rules alone: a game that ends above the best raises it, but no
    // file is written (saving it would allocate, and litter the folder).
    bestScoreKept = 0;

    const double day = 24.0 * 3600 * 1000;
    // Start an hour before the tick clock wraps, so the day crosses the wrap.
    Uint32 ticks = 0xFFFFFFFFu - 3600u * 1000;
    lastTicks = ticks;
    PassInput in;
    memset(&in, 0, sizeof in);

    double played = 0, worldTime = 0;   // all unpaused time; time the world moved
    long passes = 0, spawns = 0, restarts = 0, livesLost = 0, scoredPasses = 0, failures = 0;
    double bulletSince[maxBullets] = {}, enemySince[maxEnemies] = {};
    int steerLeft = 0, pauseLeft = 0, overFor = 0;
    long heapAtStart = -1, libraryAtStart = 0;
    highScore = 0;
    int bestEnded = 0;

    while (played < day && failures < 20) {
        // The script: a pass length, events and held keys.
        Uint32 ms = nextRandom(200000) == 0 ? 2000 + nextRandom(6000) : 1 + nextRandom(50);
        ticks += ms;
        in.ticks = ticks;
        in.eventCount = 0;
        if (nextRandom(4) == 0)
            addPassEvent(&in, passFire);
        if (pauseLeft > 0 && --pauseLeft == 0)
            addPassEvent(&in, passPause);
        else if (pauseLeft == 0 && nextRandom(30000) == 0) {
            addPassEvent(&in, passPause);
            pauseLeft = 1 + nextRandom(500);
        }
        overFor = gameOver ? overFor + 1 : 0;
        if (overFor > 50 && nextRandom(20) == 0) {
            addPassEvent(&in, passRestart);
            restarts++;
        }
        if (steerLeft-- <= 0) {
            in.held = (Uint16)(nextRandom(16) & (heldUp | heldDown | heldLeft | heldRight));
            steerLeft = nextRandom(300);
        }

        Before b = snapshot();
        runPass(in);
        // The world update ran when neither pause nor game over stood after
        // the events and the ship's move (or the update itself ended the game).
        bool worldMoves = paused == 0 && gameOver == 0;
        passes++;
        if (heapAtStart < 0 && passes == 1000) {
            heapAtStart = allocationCount();
            libraryAtStart = libraryAllocationCount();
        }

        // The clock: advances by the pass unless paused.
        double step = distance - b.distance;
        if (b.paused == 0)
            played += ms;
        if (b.paused ? step != 0.0 : (step < ms - 0.01 || step > ms + 0.01)) {
            ADD_FAILURE() << "clock moved " << step << " in a pass of " << ms << " ms";
            failures++;
        }
        if (worldMoves)
            worldTime += ms;

        // The spawn timer: never sooner than 750 ms after the last, never
        // left overdue by a pass in which the world moved.
        bool spawned = lastSpawnAt != b.lastSpawnAt;
        if (spawned) {
            spawns++;
            if (lastSpawnAt - b.lastSpawnAt < 750) {   // whole-ms stamps
                ADD_FAILURE() << "spawn after " << lastSpawnAt - b.lastSpawnAt << " ms";
                failures++;
            }
        }
        if (worldMoves && distance - (double)lastSpawnAt > 751.0) {
            ADD_FAILURE() << "spawn overdue by " << distance - lastSpawnAt - 750 << " ms";
            failures++;
        }

        // Lives: lost one at a time, restored only by a restart; game over
        // exactly when they run out.
        bool restarted = b.gameOver == 1 && gameOver == 0;
        if (restarted ? lives != 5 || score != 0
                      : lives != b.lives && lives != b.lives - 1) {
            ADD_FAILURE() << "lives " << b.lives << " -> " << lives;
            failures++;
        }
        if (!restarted && lives < b.lives)
            livesLost++;
        // The best: the highest score a game ended with, from its end on.
        if (gameOver == 1 && score > bestEnded)
            bestEnded = score;
        if (highScore != bestEnded) {
            ADD_FAILURE() << "best " << highScore << ", games ended with up to " << bestEnded;
            failures++;
        }
        if ((gameOver == 1) != (lives < 0) || lives < -1) {
            ADD_FAILURE() << "lives " << lives << " with gameOver " << gameOver;
            failures++;
        }

        // Score: exactly what the health the enemies lost is worth.
        if (!restarted) {
            long points = 0;
            bool known = true;
            for (int j = 0; j < maxEnemies; j++)
                known = pointsFor(b, j, spawned, &points) && known;
            if (known && score - b.score != points) {
                ADD_FAILURE() << "score " << b.score << " -> " << score << ", hits worth " << points;
                failures++;
            }
            scoredPasses += points > 0;
        }

        // Pools: flags 0 or 1, and no slot stays in play longer than its
        // slowest flight across the screen takes (an enemy at 1 pixel per
        // 10 ms needs 6900 ms, a bullet 1830 ms), in time the world moved.
        for (int i = 0; i < maxBullets; i++) {
            bulletSince[i] = bulletActive[i] == 1 ? bulletSince[i] + (worldMoves ? ms : 0) : 0;
            if ((bulletActive[i] & ~1) || bulletSince[i] > 1830 + 8050) {
                ADD_FAILURE() << "bullet slot " << i << " stuck";
                failures++;
            }
        }
        for (int j = 0; j < maxEnemies; j++) {
            enemySince[j] = enemyActive[j] == 1 && !(spawned && enemies[j].getX() == 640.0f)
                ? enemySince[j] + (worldMoves ? ms : 0) : 0;
            if ((enemyActive[j] & ~1) || enemySince[j] > 6900 + 8050) {
                ADD_FAILURE() << "enemy slot " << j << " stuck";
                failures++;
            }
        }
    }
    long heapGrowth = allocationCount() - heapAtStart;
    long libraryGrowth = libraryAllocationCount() - libraryAtStart;

    EXPECT_GE(played, day);
    EXPECT_EQ(heapGrowth, 0) << "the game's allocations during " << passes << " passes";
    // The day was really played: the timer spawned about once per 750 ms
    // of world time, shots scored, lives were lost, games ended and began.
    EXPECT_GT(spawns, (long)(worldTime / 800));
    EXPECT_LT(spawns, (long)(played / 750) + 1);
    EXPECT_GT(scoredPasses, 10000);
    EXPECT_GT(livesLost, 1000);
    EXPECT_GT(restarts, 100);
    printf("soak: heap allocations after pass 1000: game %ld, SDL library and its threads %ld\n",
           heapGrowth, libraryGrowth);
    printf("soak: %.1f hours of play in %ld passes, %.1f h of it moving, %ld spawns, "
           "%ld restarts, %ld lives lost\n",
           played / 3600000, passes, worldTime / 3600000, spawns, restarts, livesLost);

    restartGame();
    for (int i = 0; i < maxEnemies; i++)
        EXPECT_EQ(enemyActive[i] + bulletActive[i], 0);
}
