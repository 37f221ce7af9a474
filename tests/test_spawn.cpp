// The spawners against a seeded gameRand(): each expectation replays the same
// seed, so a draw made out of order or one too many shows up.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <vector>
#include "game/spawn.h"
#include "world/world.h"
#include "core/random.h"

// The first n numbers gameRand() gives after seedGameRand(seed); leaves gameRand() seeded
// with seed again for the call under test.
static std::vector<int> replay(unsigned seed, int n)
{
    seedGameRand(seed);
    std::vector<int> v(n);
    for (int &x : v)
        x = gameRand();
    seedGameRand(seed);
    return v;
}

static SpriteSet cloudFrames = {   // one 30x20 frame
    new SpriteFrame[1]{ { SDL_CreateRGBSurface(SDL_SWSURFACE, 30, 20, 32, 0, 0, 0, 0), 100 } }, 1, 1, 30, 20 };

class Spawners : public ::testing::Test {
    void SetUp() override
    {
        for (int i = 0; i < maxEnemies; i++)
            enemyActive[i] = enemySpeed[i] = 0;
        for (int i = 0; i < maxClouds; i++) {
            clouds[i] = Sprite();
            clouds[i].init(&cloudFrames, nullptr);
            cloudActive[i] = cloudSpeed[i] = 0;
        }
    }
};

TEST_F(Spawners, BulletTakesLowestFreeSlotInFrontOfTheShip)
{
    player.setPos(50.0f, 220.0f);
    for (int i = 0; i < maxBullets; i++)
        bulletActive[i] = i != 2 && i != 5;
    fireBullet();
    EXPECT_EQ(bulletActive[2], 1);
    EXPECT_EQ(bulletActive[5], 0);
    EXPECT_EQ(bullets[2].getX(), 120.0f);
    EXPECT_EQ(bullets[2].getY(), 239.0f);

    // A full pool: the shot places nothing.
    bulletActive[5] = 1;
    player.setPos(300.0f, 300.0f);
    fireBullet();
    for (int i = 0; i < maxBullets; i++)
        EXPECT_NE(bullets[i].getX(), 370.0f) << i;
}

TEST_F(Spawners, EnemyTakesItsDrawsInOrder)
{
    // Over many seeds both paths come up, and the one-frame set meets draws
    // that would have picked frame 1: it still makes that draw.
    int curved = 0, oneFrameOdd = 0;
    for (unsigned seed = 1; seed <= 40; seed++) {
        enemySet.frameCount = seed % 2 + 1;
        std::vector<int> d = replay(seed, 6);
        enemyActive[0] = 1;
        enemyActive[1] = 0;
        enemies[1].startAnim();
        spawnEnemy();
        SCOPED_TRACE(seed);
        EXPECT_EQ(enemyActive[1], 1);
        EXPECT_EQ(enemies[1].getFrame(), enemySet.frameCount == 2 ? d[1] % 2 : 0);
        EXPECT_EQ(enemies[1].isAnimating(), 0);
        EXPECT_EQ(enemies[1].getX(), 640.0f);
        EXPECT_EQ(enemies[1].getY(), (float)(d[2] % 350 + 60));
        EXPECT_EQ(enemySpeed[1], d[3] % 4 + 1);
        EXPECT_EQ(enemyHealth[1], d[4] % 3 + 1);
        // One enemy in seven flies a curve with a phase of 1 to 360 degrees.
        EXPECT_EQ(enemyWave[1], d[0] % 7 ? 0 : (d[0] / 7) % 360 + 1);
        EXPECT_EQ(gameRand(), d[5]);
        curved += d[0] % 7 == 0;
        oneFrameOdd += enemySet.frameCount == 1 && d[1] % 2 == 1;
    }
    EXPECT_GT(curved, 0);
    EXPECT_GT(oneFrameOdd, 0);

    // A full pool draws nothing and changes nothing.
    for (int i = 0; i < maxEnemies; i++)
        enemyActive[i] = 1;
    enemySpeed[1] = 0;
    std::vector<int> d = replay(99, 1);
    spawnEnemy();
    EXPECT_EQ(gameRand(), d[0]);
    for (int i = 0; i < maxEnemies; i++)
        EXPECT_EQ(enemySpeed[i], 0) << i;
}

TEST_F(Spawners, CloudIsPlacedOnlyWhenNotInPlayOrWhollyOffTheLeftEdge)
{
    // Cloud 0 is not in play; cloud 1 (30 wide) has its right edge on the
    // screen's left edge; cloud 2 is just past it.
    cloudActive[1] = cloudActive[2] = 1;
    clouds[1].setX(-30.0f);
    clouds[2].setX(-30.5f);
    clouds[2].startAnim();
    std::vector<int> d = replay(5, 5);
    spawnClouds();
    EXPECT_EQ(clouds[1].getX(), -30.0f);
    EXPECT_EQ(cloudSpeed[1], 0);
    EXPECT_EQ(gameRand(), d[4]);
    // Clouds 0 and 2 take two draws each, in slot order.
    for (int i : { 0, 2 }) {
        EXPECT_EQ(cloudActive[i], 1) << i;
        EXPECT_EQ(clouds[i].getX(), 640.0f) << i;
        EXPECT_EQ(clouds[i].getY(), (float)(d[i] % 350 + 60)) << i;
        EXPECT_EQ(cloudSpeed[i], d[i + 1] % 4 + 1) << i;
        EXPECT_EQ(clouds[i].isAnimating(), 0) << i;
    }
}
