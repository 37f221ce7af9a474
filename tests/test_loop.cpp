// Passes of the frame loop driven with chosen ticks, held keys and events.
#include <gtest/gtest.h>
#include <limits.h>
#include <vector>
#include "tests/support.h"
#include "game/world.h"
#include "game/loop.h"
#include "game/ticks.h"

class FramePass : public ::testing::Test {
protected:
    void SetUp() override
    {
        screen = openTestVideo();
        keys = SDL_GetKeyState(NULL);
        for (int k = 0; k < SDLK_LAST; k++)
            keys[k] = 0;
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
        }
        for (int i = 0; i < maxBullets; i++)
            bulletActive[i] = 0;
        for (int i = 0; i < maxEnemies; i++)
            enemyActive[i] = 0;
        lives = 5;
        gameOver = paused = godMode = 0;
        score = highScore = 0;
        distance = 0.0;
        lastHitAt = lastSpawnAt = 0;
        player.setPos(100.0f, 200.0f);
        // Keep the ship hittable-state timers quiet: invulnerable, stamped now.
        player.setDelayFactor(1.0f);
        lastTicks = 1000;
        // A still pass with nothing held drops any step carried over.
        runFramePass(1000);
    }
    // One pass `ms` milliseconds after the previous one.
    int pass(Uint32 ms) { return runFramePass(lastTicks + ms); }
    void press(SDLKey sym)
    {
        SDL_Event e = {};
        e.type = SDL_KEYDOWN;
        e.key.keysym.sym = sym;
        SDL_PushEvent(&e);
    }
    int bulletsInPlay()
    {
        int n = 0;
        for (int i = 0; i < maxBullets; i++)
            n += bulletActive[i] == 1;
        return n;
    }
    Uint8 *keys;
};

TEST_F(FramePass, TimingAdvancesTheClockOnlyWhilePlaying)
{
    pass(10);
    EXPECT_EQ(frameStep, 1.0f);
    EXPECT_EQ(distance, 10.0);
    EXPECT_EQ(lastTicks, 1010u);

    pass(7);
    EXPECT_EQ(frameStep, (float)(7 * 0.1));
    EXPECT_DOUBLE_EQ(distance, 10.0 + (float)(7 * 0.1) * 10.0);

    // A long pause piles up no time: the tick counter follows every pass.
    double before = distance;
    paused = 1;
    for (int i = 0; i < 5; i++)
        pass(20000);
    EXPECT_EQ(distance, before);
    paused = 0;
    pass(10);
    EXPECT_EQ(frameStep, 1.0f);
    EXPECT_DOUBLE_EQ(distance, before + 10.0);

    // Game over freezes the world, not the clock.
    gameOver = 1;
    before = distance;
    pass(10);
    EXPECT_DOUBLE_EQ(distance, before + 10.0);
}

TEST_F(FramePass, TickWrapAroundStillGivesTheRightStep)
{
    lastTicks = 0xFFFFFFF6u;
    runFramePass(4);
    EXPECT_EQ(frameStep, (float)(14 * 0.1));
    EXPECT_EQ(lastTicks, 4u);
}

TEST_F(FramePass, WorldClockStaysExactOnVeryLongRuns)
{
    // At 2^24 ms a single-precision clock would swallow a 1 ms step.
    distance = 16777216.0;
    pass(1);
    EXPECT_NEAR(distance, 16777217.0, 1e-6);

    // Past 2^32 ms the spawn stamp must not wrap, or a spawn fires each pass.
    for (int i = 0; i < maxEnemies; i++)
        enemyActive[i] = 0;
    distance = 5e9;
    lastSpawnAt = (uint64_t)distance;
    pass(10);
    int spawned = 0;
    for (int i = 0; i < maxEnemies; i++)
        spawned += enemyActive[i];
    EXPECT_EQ(spawned, 0);
}

TEST_F(FramePass, FirstPassIsMeasuredFromTheStartOfTheLoop)
{
    useFakeTicks(7000);
    lastTicks = 0;
    keys[SDLK_DOWN] = 1;
    keys[SDLK_RIGHT] = 1;
    press(SDLK_ESCAPE);
    runFrameLoop();
    tickSource = []() -> Uint32 { return SDL_GetTicks(); };
    EXPECT_EQ(frameStep, 0.0f);
    EXPECT_EQ(distance, 0.0);
    EXPECT_EQ(player.getX(), 100.0f);
    EXPECT_EQ(player.getY(), 200.0f);
    EXPECT_EQ(lives, 5);
}

TEST_F(FramePass, ShipMovesInWholePixelsWithinItsBounds)
{
    keys[SDLK_RIGHT] = 1;
    keys[SDLK_DOWN] = 1;
    pass(4);  // under 5 ms: no movement in this pass
    EXPECT_EQ(player.getX(), 100.0f);
    EXPECT_EQ(player.getY(), 200.0f);
    pass(10);
    EXPECT_EQ(player.getX(), 102.0f);  // 0.8 carried + 2.0 = 2 pixels
    pass(7);
    EXPECT_EQ(player.getX(), 104.0f);  // 0.8 carried + 1.4 = 2 pixels
    EXPECT_EQ(player.getY(), 204.0f);
    keys[SDLK_RIGHT] = keys[SDLK_DOWN] = 0;
    pass(10);

    // A fresh press starts without carry: 7 ms is one pixel, up and left
    // as fast as down and right.
    keys[SDLK_UP] = keys[SDLK_LEFT] = 1;
    pass(7);
    EXPECT_EQ(player.getX(), 103.0f);
    EXPECT_EQ(player.getY(), 203.0f);
    player.setPos(1.0f, 61.0f);
    pass(10);
    EXPECT_EQ(player.getX(), 0.0f);
    EXPECT_EQ(player.getY(), 60.0f);
    pass(10);
    EXPECT_EQ(player.getY(), 60.0f);
    keys[SDLK_UP] = keys[SDLK_LEFT] = 0;

    keys[SDLK_RIGHT] = 1;
    player.setPos(569.0f, 300.0f);
    pass(10);
    EXPECT_EQ(player.getX(), 570.0f);
    keys[SDLK_RIGHT] = 0;

    // Nothing moves while paused or after the game is lost.
    keys[SDLK_UP] = 1;
    paused = 1;
    pass(10);
    paused = 0;
    gameOver = 1;
    pass(10);
    EXPECT_EQ(player.getY(), 300.0f);
}

TEST_F(FramePass, ShortPassesStillMoveTheShipAtFullSpeed)
{
    // A fast machine runs passes of 1 to 2 ms; the ship must still fly at
    // 2 pixels per 10 ms in whole-pixel steps.
    keys[SDLK_RIGHT] = 1;
    for (int i = 0; i < 100; i++)
        pass(i % 2 ? 1 : 2);
    EXPECT_NEAR(player.getX(), 100.0f + 30.0f, 1.0f);
    EXPECT_EQ(player.getX(), (float)(int)player.getX());
    keys[SDLK_RIGHT] = 0;
    keys[SDLK_UP] = 1;
    for (int i = 0; i < 100; i++)
        pass(1);
    EXPECT_NEAR(player.getY(), 200.0f - 20.0f, 1.0f);
}

TEST_F(FramePass, CrashAtTheLowerEdgeCostsALife)
{
    keys[SDLK_DOWN] = 1;
    player.setPos(200.0f, 408.0f);
    pass(10);  // exactly 410 is no crash
    EXPECT_EQ(player.getY(), 410.0f);
    EXPECT_EQ(lives, 5);

    distance = 9000.0;
    player.setDelayFactor(0.0f);
    pass(10);
    EXPECT_EQ(lives, 4);
    EXPECT_EQ(player.getX(), 10.0f);
    EXPECT_EQ(player.getY(), 245.0f);
    EXPECT_EQ(player.getDelayFactor(), 1.0f);
    EXPECT_EQ(lastHitAt, 9010u);

    // In god mode the crash still puts the ship back, without a loss.
    godMode = 1;
    player.setPos(200.0f, 409.5f);
    pass(10);
    EXPECT_EQ(lives, 4);
    EXPECT_EQ(player.getY(), 245.0f);
}

TEST_F(FramePass, CrashWithTheLastLifeEndsTheGameAndTheKeyHandling)
{
    keys[SDLK_DOWN] = keys[SDLK_LEFT] = keys[SDLK_s] = 1;
    lives = 0;
    player.setPos(200.0f, 409.0f);
    pass(10);
    EXPECT_EQ(lives, -1);
    EXPECT_EQ(gameOver, 1);
    EXPECT_EQ(player.getY(), 411.0f);  // stays where it crashed
    EXPECT_EQ(player.getX(), 200.0f);  // LEFT was not looked at
    EXPECT_EQ(score, 0);               // nor the debug keys
}

TEST_F(FramePass, DebugKeysActOnlyWhilePlaying)
{
    keys[SDLK_g] = 1;
    pass(10);
    EXPECT_EQ(godMode, 1);
    keys[SDLK_g] = 0;
    pass(10);
    EXPECT_EQ(godMode, 1);  // releasing g keeps it on
    keys[SDLK_g] = keys[SDLK_LSHIFT] = 1;
    pass(10);
    EXPECT_EQ(godMode, 0);
    keys[SDLK_g] = keys[SDLK_LSHIFT] = 0;

    keys[SDLK_s] = 1;
    pass(10);
    EXPECT_EQ(score, 100);
    keys[SDLK_LSHIFT] = 1;
    pass(10);
    EXPECT_EQ(score, 200);  // one shift is not enough for the big step
    keys[SDLK_RSHIFT] = 1;
    pass(10);
    EXPECT_EQ(score, 1300);
    score = INT_MAX - 500;
    pass(10);
    EXPECT_EQ(score, INT_MAX);  // saturates, never wraps negative
    keys[SDLK_s] = keys[SDLK_LSHIFT] = 0;

    keys[SDLK_LALT] = 1;  // with right Shift still held
    lives = 8;
    pass(10);
    pass(10);
    pass(10);
    EXPECT_EQ(lives, 10);
    lives = 12;
    pass(10);
    EXPECT_EQ(lives, 12);

    lives = 3;
    paused = 1;
    pass(10);
    EXPECT_EQ(lives, 3);
}

TEST_F(FramePass, EventsFireOnlyWhenTheyShould)
{
    // SPACE fires while playing; a zero-length pass keeps the bullet still.
    press(SDLK_SPACE);
    pass(0);
    ASSERT_EQ(bulletActive[0], 1);
    EXPECT_EQ(bullets[0].getX(), 170.0f);
    EXPECT_EQ(bullets[0].getY(), 219.0f);

    paused = 1;
    press(SDLK_SPACE);
    pass(0);
    paused = 0;
    gameOver = 1;
    press(SDLK_SPACE);
    pass(0);
    EXPECT_EQ(bulletsInPlay(), 1);

    // ENTER restarts only a lost game, and a paused game stays paused.
    gameOver = 0;
    score = 55;
    press(SDLK_RETURN);
    pass(0);
    EXPECT_EQ(score, 55);
    gameOver = 1;
    paused = 1;
    press(SDLK_RETURN);
    pass(0);
    EXPECT_EQ(gameOver, 0);
    EXPECT_EQ(score, 0);
    EXPECT_EQ(paused, 1);

    // P toggles in every state; all queued events are handled in one pass.
    press(SDLK_p);
    press(SDLK_p);
    press(SDLK_p);
    pass(0);
    EXPECT_EQ(paused, 0);
}

TEST_F(FramePass, EscapeAndCloseFinishTheirPass)
{
    keys[SDLK_RIGHT] = 1;
    press(SDLK_ESCAPE);
    EXPECT_NE(pass(10), 0);
    EXPECT_EQ(player.getX(), 102.0f);
    EXPECT_EQ(distance, 10.0);

    SDL_Event e = {};
    e.type = SDL_QUIT;
    SDL_PushEvent(&e);
    EXPECT_NE(pass(10), 0);
    EXPECT_EQ(player.getX(), 104.0f);
    EXPECT_EQ(pass(10), 0);
}

TEST_F(FramePass, ShotSoundPlaysEvenWithEveryBulletInFlight)
{
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0);
    ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 2048), 0);
    static std::vector<Uint8> silence(44100 * 4 * 2);
    shotSound = Mix_QuickLoad_RAW(silence.data(), silence.size());
    ASSERT_NE(shotSound, nullptr);

    for (int i = 0; i < maxBullets; i++)
        bulletActive[i] = 1;
    press(SDLK_SPACE);
    pass(0);
    EXPECT_EQ(Mix_Playing(0), 1);
    Mix_HaltChannel(0);

    paused = 1;
    press(SDLK_SPACE);
    pass(0);
    EXPECT_EQ(Mix_Playing(0), 0);

    Mix_FreeChunk(shotSound);
    shotSound = nullptr;
    Mix_CloseAudio();
}
