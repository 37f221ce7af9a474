// The procedures that change the rules state from more than one place.
#include <gtest/gtest.h>
#include <limits.h>
#include "world/world.h"

TEST(WorldProcedures, LoseLifeEndsTheGameOnlyBelowZeroAndNeverInGodMode)
{
    lives = 1;
    gameOver = godMode = 0;
    EXPECT_FALSE(loseLife());
    EXPECT_TRUE(loseLife());
    EXPECT_EQ(lives, -1);
    EXPECT_EQ(gameOver, 1);

    lives = 0;
    gameOver = 0;
    godMode = 1;
    EXPECT_FALSE(loseLife());
    EXPECT_EQ(lives, 0);
    godMode = 2;  // only exactly 1 means god mode
    EXPECT_TRUE(loseLife());
}

TEST(WorldProcedures, RespawnAndRestartPlaceTheShipAndStampTheClock)
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

    enemyActive[7] = bulletActive[49] = 1;
    enemyHealth[7] = 2;
    lives = -1;
    gameOver = paused = 1;
    score = 4321;
    highScore = 100;
    distance = 5e9;
    lastSpawnAt = 77;
    restartGame();
    EXPECT_EQ(enemyActive[7], 0);
    EXPECT_EQ(bulletActive[49], 0);
    EXPECT_EQ(enemyHealth[7], 2);  // rewritten only when the slot is spawned
    EXPECT_EQ(player.getX(), 50.0f);
    EXPECT_EQ(player.getY(), 220.0f);
    EXPECT_EQ(player.getFrame(), 0);
    EXPECT_EQ(player.getDelayFactor(), 1.0f);
    EXPECT_EQ(lives, 5);
    EXPECT_EQ(gameOver, 0);
    EXPECT_EQ(score, 0);
    EXPECT_EQ(highScore, 4321);  // the game that ended beat the best: it is the best now
    EXPECT_EQ(paused, 1);
    EXPECT_EQ(lastSpawnAt, 77u);
    EXPECT_EQ(lastHitAt, 5000000000u);  // past 32 bits, no wrap

    // A game that ended below the best leaves the best as it was.
    gameOver = 1;
    score = 4000;
    restartGame();
    EXPECT_EQ(highScore, 4321);
}

TEST(WorldProcedures, ScoreSaturatesInsteadOfOverflowing)
{
    score = INT_MAX - 50;
    addScore(10);
    EXPECT_EQ(score, INT_MAX - 40);
    addScore(1000);
    EXPECT_EQ(score, INT_MAX);
}
