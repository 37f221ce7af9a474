// Passes of the frame loop driven with chosen ticks, held keys and events.
#include <gtest/gtest.h>
#include <algorithm>
#include <limits.h>
#include <vector>
#include "tests/support.h"
#include "world/world.h"
#include "game/loop.h"
#include "core/ticks.h"
#include "tests/testinput.h"

class FramePass : public ::testing::Test {
protected:
    void SetUp() override { startTestGame(); }
    // One pass `ms` milliseconds after the previous one.
    int pass(Uint32 ms) { return runFramePass(lastTicks + ms); }
    void expectShip(float x, float y)
    {
        EXPECT_EQ(player.getX(), x);
        EXPECT_EQ(player.getY(), y);
    }
};

TEST_F(FramePass, ClockSurvivesWrapAndLongRuns)
{
    lastTicks = 0xFFFFFFF6u;  // the tick counter wraps after 49.7 days
    runFramePass(4);
    EXPECT_EQ(frameStep, (float)(14 * 0.1));

    // At 2^24 ms a single-precision clock would swallow a 1 ms step, and past
    // 2^32 ms a 32-bit spawn stamp would wrap and spawn in every pass.
    distance = 16777216.0;
    pass(1);
    EXPECT_NEAR(distance, 16777217.0, 1e-6);
    std::fill_n(enemyActive, maxEnemies, 0);
    distance = 5e9;
    lastSpawnAt = (uint64_t)distance;
    pass(10);
    EXPECT_EQ(enemyActive[0], 0);
}

TEST_F(FramePass, FirstPassIsMeasuredFromTheStartOfTheLoop)
{
    useFakeTicks(7000);
    lastTicks = 0;
    holdKey(SDLK_DOWN, true); holdKey(SDLK_RIGHT, true);
    pushKeyDown(SDLK_ESCAPE);
    runFrameLoop();
    EXPECT_EQ(frameStep, 0.0f);
    EXPECT_EQ(distance, 0.0);
    expectShip(100.0f, 200.0f);
    EXPECT_EQ(lives, 5);
}

TEST_F(FramePass, ShipMovesInWholePixelsWithinItsBounds)
{
    holdKey(SDLK_RIGHT, true); holdKey(SDLK_DOWN, true);
    pass(4);  // under 5 ms: no movement in this pass...
    expectShip(100.0f, 200.0f);
    pass(7);  // ...but the cut-off 0.8 is carried: 0.8 + 1.4 = 2 pixels
    expectShip(102.0f, 202.0f);
    holdKey(SDLK_RIGHT, false); holdKey(SDLK_DOWN, false);
    pass(10);

    holdKey(SDLK_UP, true); holdKey(SDLK_LEFT, true);
    pass(7);  // a fresh press carries nothing; up and left as fast
    expectShip(101.0f, 201.0f);
    player.setPos(1.0f, 61.0f);
    pass(10);
    pass(10);
    expectShip(0.0f, 60.0f);
    holdKey(SDLK_UP, false); holdKey(SDLK_LEFT, false);

    holdKey(SDLK_RIGHT, true);
    player.setPos(569.0f, 300.0f);
    pass(10);
    EXPECT_EQ(player.getX(), 570.0f);
}

TEST_F(FramePass, CrashAtTheLowerEdgeAndTheLastLifeEndsTheKeys)
{
    holdKey(SDLK_DOWN, true);
    player.setPos(200.0f, 408.0f);
    pass(10);  // exactly 410 is no crash
    EXPECT_EQ(lives, 5);

    // The last life: the game ends and the rest of the keys are not read.
    lives = 0;
    holdKey(SDLK_LEFT, true); holdKey(SDLK_s, true);
    pass(10);
    EXPECT_EQ(std::make_tuple(lives, gameOver, score), std::make_tuple(-1, 1, 0));
    expectShip(200.0f, 412.0f);
}

TEST_F(FramePass, DebugKeysActOnlyWhilePlaying)
{
    holdKey(SDLK_s, true); holdKey(SDLK_LSHIFT, true);
    pass(10);
    EXPECT_EQ(score, 100);  // one shift is not enough for the big step
    holdKey(SDLK_RSHIFT, true);
    pass(10);
    EXPECT_EQ(score, 1200);
    score = INT_MAX - 500;
    pass(10);
    EXPECT_EQ(score, INT_MAX);  // saturates, never wraps negative

    // No extra life while paused.
    holdKey(SDLK_s, false); holdKey(SDLK_LSHIFT, false);
    holdKey(SDLK_LALT, true);
    lives = 3;
    paused = 1;
    pass(10);
    EXPECT_EQ(lives, 3);
}

TEST_F(FramePass, EventsActOnlyWhenTheyShould)
{
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0);
    ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 2048), 0);
    static std::vector<Uint8> silence(44100 * 4 * 2);
    shotSound = Mix_QuickLoad_RAW(silence.data(), silence.size());
    pushKeyDown(SDLK_SPACE);
    pass(0);  // a zero-length pass keeps the new bullet where it was put
    ASSERT_EQ(bulletActive[0], 1);
    EXPECT_EQ(std::make_tuple(bullets[0].getX(), bullets[0].getY()), std::make_tuple(170.0f, 219.0f));
    // The shot is heard even with every bullet in flight, and moves none.
    std::fill_n(bulletActive, maxBullets, 1);
    player.setPos(300.0f, 300.0f);
    Mix_HaltChannel(0);
    pushKeyDown(SDLK_SPACE);
    pass(0);
    EXPECT_EQ(Mix_Playing(0), 1);
    for (int i = 0; i < maxBullets; i++)
        EXPECT_NE(bullets[i].getX(), 370.0f) << i;
    // Nor fired nor heard while paused.
    Mix_HaltChannel(0);
    paused = 1;
    pushKeyDown(SDLK_SPACE);
    pass(0);
    EXPECT_EQ(Mix_Playing(0), 0);
    Mix_CloseAudio();

    // ENTER restarts only a lost game, and a paused game stays paused.
    score = 55;
    pushKeyDown(SDLK_RETURN);
    pass(0);
    EXPECT_EQ(score, 55);
    gameOver = 1;
    pushKeyDown(SDLK_RETURN);
    pass(0);
    EXPECT_EQ(std::make_tuple(gameOver, score, paused), std::make_tuple(0, 0, 1));

    // All queued events are handled in one pass: paused, two presses of P
    // leave it paused, where handling only the first or the last would not.
    pushKeyDown(SDLK_p);
    pushKeyDown(SDLK_p);
    pass(0);
    EXPECT_EQ(paused, 1);
}
