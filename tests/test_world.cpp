// The three procedures that change the rules state from more than one place.
#include <gtest/gtest.h>
#include <limits.h>
#include "game/world.h"

class WorldProcedures : public ::testing::Test {
protected:
    void SetUp() override
    {
        lives = 5;
        gameOver = 0;
        godMode = 0;
        paused = 0;
        score = 0;
        highScore = 0;
        distance = 0.0;
        lastHitAt = 0;
        lastSpawnAt = 0;
        player.setPos(0.0f, 0.0f);
        player.setDelayFactor(0.0f);
        player.stopAnim();
    }
};

TEST_F(WorldProcedures, LoseLifeCountsDownAndEndsTheGameBelowZero)
{
    lives = 1;
    EXPECT_FALSE(loseLife());
    EXPECT_EQ(lives, 0);
    EXPECT_EQ(gameOver, 0);
    EXPECT_TRUE(loseLife());
    EXPECT_EQ(lives, -1);
    EXPECT_EQ(gameOver, 1);

    lives = 0;
    gameOver = 0;
    godMode = 1;
    EXPECT_FALSE(loseLife());
    EXPECT_EQ(lives, 0);
    EXPECT_EQ(gameOver, 0);
    // Only exactly 1 means god mode.
    godMode = 2;
    EXPECT_TRUE(loseLife());
}

TEST_F(WorldProcedures, RespawnPutsTheShipBackInvulnerableAndStampsTheClock)
{
    player.setFrame(2);
    distance = 12345.9;
    respawnPlayer();
    EXPECT_EQ(player.getX(), 10.0f);
    EXPECT_EQ(player.getY(), 245.0f);
    EXPECT_EQ(player.getDelayFactor(), 1.0f);
    EXPECT_EQ(player.isAnimating(), 1);
    EXPECT_EQ(player.getFrame(), 2);
    EXPECT_EQ(lastHitAt, 12345u);
}

TEST_F(WorldProcedures, RestartClearsPoolsAndRulesButKeepsClockPauseAndBest)
{
    for (int i = 0; i < maxEnemies; i++) {
        enemyActive[i] = 1;
        enemySpeed[i] = 3;
        enemyHealth[i] = 2;
        enemyWave[i] = 40;
    }
    for (int i = 0; i < maxBullets; i++)
        bulletActive[i] = 1;
    lives = -1;
    gameOver = 1;
    score = 4321;
    highScore = 100;
    paused = 1;
    godMode = 1;
    distance = 5e9;
    lastSpawnAt = 77;
    scrollX = 12.5f;
    player.setFrame(3);

    restartGame();

    for (int i = 0; i < maxEnemies; i++) {
        EXPECT_EQ(enemyActive[i], 0);
        EXPECT_EQ(enemySpeed[i], 3);
        EXPECT_EQ(enemyHealth[i], 2);
        EXPECT_EQ(enemyWave[i], 40);
    }
    for (int i = 0; i < maxBullets; i++)
        EXPECT_EQ(bulletActive[i], 0);
    EXPECT_EQ(player.getX(), 50.0f);
    EXPECT_EQ(player.getY(), 220.0f);
    EXPECT_EQ(player.getFrame(), 0);
    EXPECT_EQ(player.getDelayFactor(), 1.0f);
    EXPECT_EQ(player.isAnimating(), 1);
    EXPECT_EQ(lives, 5);
    EXPECT_EQ(gameOver, 0);
    EXPECT_EQ(score, 0);
    // The lost game's score does not become the best score.
    EXPECT_EQ(highScore, 100);
    EXPECT_EQ(paused, 1);
    EXPECT_EQ(godMode, 1);
    EXPECT_EQ(distance, 5e9);
    EXPECT_EQ(lastSpawnAt, 77u);
    EXPECT_EQ(lastHitAt, 5000000000u);
    EXPECT_EQ(scrollX, 12.5f);
}

TEST_F(WorldProcedures, ScoreSaturatesInsteadOfOverflowing)
{
    score = INT_MAX - 50;
    addScore(10);
    EXPECT_EQ(score, INT_MAX - 40);
    addScore(100);
    EXPECT_EQ(score, INT_MAX);
    addScore(1000);
    EXPECT_EQ(score, INT_MAX);
}
