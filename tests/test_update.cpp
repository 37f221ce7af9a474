// The rule book: motion, hits, lives, timers and scrolling, one pass at a
// time on hand-placed pools of 10x10 sprites.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <vector>
#include "game/update.h"
#include "game/world.h"

static SpriteSet box;         // one 10x10 frame
static Mix_Chunk *boom;       // two seconds of silence on the explosion slot

static void resetWorld()
{
    paused = gameOver = godMode = 0;
    lives = 5;
    score = 0;
    distance = 0.0;
    frameStep = 0.0f;
    lastHitAt = lastSpawnAt = 0;
    scrollX = frontScrollX = 0.0f;
    player = Sprite();
    player.init(&box, nullptr);
    player.setPos(300.0f, 400.0f);
    player.setDelayFactor(1.0f);
    for (int i = 0; i < maxBullets; i++) {
        bullets[i] = Sprite();
        bullets[i].init(&box, nullptr);
        bulletActive[i] = 0;
    }
    for (int i = 0; i < maxEnemies; i++) {
        enemies[i] = Sprite();
        enemies[i].init(&box, nullptr);
        enemyActive[i] = enemySpeed[i] = enemyHealth[i] = enemyWave[i] = 0;
    }
    for (int i = 0; i < maxClouds; i++) {
        clouds[i] = Sprite();
        clouds[i].init(&box, nullptr);
        cloudActive[i] = cloudSpeed[i] = 0;
    }
    enemySet = box;
    explodeSound = boom;
    Mix_HaltChannel(-1);
}

static void addBullet(int k, float x, float y)
{
    bullets[k].setPos(x, y);
    bulletActive[k] = 1;
}

static void addEnemy(int j, float x, float y, int speed, int health)
{
    enemies[j].setPos(x, y);
    enemySpeed[j] = speed;
    enemyHealth[j] = health;
    enemyActive[j] = 1;
}

static bool exploded() { return Mix_Playing(1) != 0; }

class WorldUpdate : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        box.frames = new SpriteFrame[1];
        box.frames[0].surface = SDL_CreateRGBSurface(SDL_SWSURFACE, 10, 10, 32, 0, 0, 0, 0);
        box.frames[0].delay = 100;
        box.loaded = 1;
        box.frameCount = 1;
        box.frameWidth = box.frameHeight = 10;
        // Explosions are seen on mixer channel 1, so the mixer must run
        // (on the dummy driver the harness chooses).
        if (Mix_OpenAudio(22050, AUDIO_S16SYS, 2, 512) == 0) {
            static Uint8 silence[22050 * 4 * 2];
            boom = Mix_QuickLoad_RAW(silence, sizeof silence);
        }
    }
    void SetUp() override
    {
        ASSERT_NE(boom, nullptr) << "no mixer: " << Mix_GetError();
        resetWorld();
        srand(1);
    }
};

TEST_F(WorldUpdate, BulletsAndEnemiesLeaveOnlyBeyondTheirEdges)
{
    frameStep = 1.0f;
    addBullet(0, 636.5f, 50.0f);
    addEnemy(0, -49.0f, 100.0f, 1, 2);
    addBullet(1, -53.5f, 100.0f);
    addEnemy(1, 300.0f, 200.0f, 3, 1);
    updateWorld();
    EXPECT_EQ(bullets[0].getX(), 640.0f);
    EXPECT_EQ(bulletActive[0], 1);
    EXPECT_EQ(enemies[1].getX(), 298.0f);
    // At exactly -50 the enemy is still in play and still hit.
    EXPECT_EQ(enemies[0].getX(), -50.0f);
    EXPECT_EQ(enemyActive[0], 1);
    EXPECT_EQ(enemyHealth[0], 1);
    EXPECT_EQ(bulletActive[1], 0);

    addBullet(2, -54.5f, 100.0f);
    updateWorld();
    EXPECT_EQ(bulletActive[0], 0);
    EXPECT_EQ(enemyActive[0], 0);
    // A leaving enemy is not tested against the bullet it overlaps.
    EXPECT_EQ(bulletActive[2], 1);
    EXPECT_EQ(enemyHealth[0], 1);
    EXPECT_EQ(score, 1);
}

TEST_F(WorldUpdate, BulletHitsScoreDestroyAndExplode)
{
    addEnemy(0, 300.0f, 100.0f, 1, 2);
    addBullet(0, 300.0f, 100.0f);
    addBullet(5, 100.0f, 300.0f);
    updateWorld();
    EXPECT_EQ(enemyHealth[0], 1);
    EXPECT_EQ(enemyActive[0], 1);
    EXPECT_EQ(score, 1);
    EXPECT_EQ(bulletActive[0], 0);
    EXPECT_EQ(bulletActive[5], 1);
    EXPECT_FALSE(exploded());

    // Two bullets in one pass: both hit, both are consumed, both score 10.
    addBullet(0, 300.0f, 100.0f);
    addBullet(1, 302.0f, 101.0f);
    updateWorld();
    EXPECT_EQ(enemyActive[0], 0);
    EXPECT_EQ(enemyHealth[0], -1);
    EXPECT_EQ(score, 21);
    EXPECT_EQ(bulletActive[0], 0);
    EXPECT_EQ(bulletActive[1], 0);
    EXPECT_TRUE(exploded());
}

TEST_F(WorldUpdate, PlayerHitsCostLivesOnlyWhenHittableAndNotInGodMode)
{
    // An enemy destroyed by a bullet still rams the ship in the same pass.
    distance = 500.7;
    player.setDelayFactor(0.0f);
    player.setPos(300.0f, 100.0f);
    addEnemy(0, 300.0f, 100.0f, 1, 1);
    addBullet(0, 300.0f, 100.0f);
    updateWorld();
    EXPECT_EQ(score, 10);
    EXPECT_EQ(lives, 4);
    EXPECT_EQ(player.getX(), 10.0f);
    EXPECT_EQ(player.getY(), 245.0f);
    EXPECT_EQ(player.getDelayFactor(), 1.0f);
    EXPECT_EQ(player.isAnimating(), 1);
    EXPECT_EQ(lastHitAt, 500u);

    // Invulnerable: the enemy passes through.
    addEnemy(1, 10.0f, 245.0f, 1, 1);
    updateWorld();
    EXPECT_EQ(enemyActive[1], 1);
    EXPECT_EQ(lives, 4);

    // God mode: the enemy goes up in flames, the ship is untouched.
    Mix_HaltChannel(-1);
    godMode = 1;
    enemyActive[1] = 0;
    player.setDelayFactor(0.0f);
    player.stopAnim();
    player.setPos(300.0f, 100.0f);
    addEnemy(2, 300.0f, 100.0f, 1, 3);
    updateWorld();
    EXPECT_EQ(enemyActive[2], 0);
    EXPECT_EQ(lives, 4);
    EXPECT_EQ(player.getX(), 300.0f);
    EXPECT_EQ(player.getDelayFactor(), 0.0f);
    EXPECT_EQ(player.isAnimating(), 0);
    EXPECT_TRUE(exploded());
}

TEST_F(WorldUpdate, LastLifeStopsTheEnemyLoopButNotTheTimers)
{
    lives = 0;
    frameStep = 1.0f;
    distance = 5000.5;
    scrollX = 10.0f;
    player.setDelayFactor(0.0f);
    player.setPos(300.0f, 100.0f);
    player.setFrame(2);
    player.startAnim();
    addEnemy(0, 500.0f, 300.0f, 1, 1);
    addEnemy(1, 301.0f, 100.0f, 1, 1);
    addEnemy(2, 500.0f, 300.0f, 1, 1);
    updateWorld();
    EXPECT_EQ(lives, -1);
    EXPECT_EQ(gameOver, 1);
    EXPECT_EQ(enemyActive[1], 1);
    EXPECT_EQ(enemies[0].getX(), 499.0f);
    EXPECT_EQ(enemies[2].getX(), 500.0f);
    EXPECT_EQ(player.getX(), 300.0f);
    EXPECT_FALSE(exploded());
    // Expiry, spawn and scroll still ran.
    EXPECT_EQ(player.getDelayFactor(), 0.0f);
    EXPECT_EQ(player.isAnimating(), 0);
    EXPECT_EQ(player.getFrame(), 0);
    EXPECT_EQ(lastSpawnAt, 5000u);
    EXPECT_EQ(enemyActive[3], 1);
    EXPECT_EQ(cloudActive[0], 1);
    EXPECT_EQ(scrollX, 11.0f);
}

TEST_F(WorldUpdate, InvulnerabilityEndsAfterMoreThan3000EveryPass)
{
    lastHitAt = 1000;
    lastSpawnAt = 4000;
    distance = 4000.0;
    player.setFrame(1);
    player.startAnim();
    updateWorld();
    EXPECT_EQ(player.getDelayFactor(), 1.0f);
    EXPECT_EQ(player.getFrame(), 1);

    for (double d : { 4000.25, 4000.5 }) {
        distance = d;
        player.setDelayFactor(1.0f);
        player.setFrame(1);
        player.startAnim();
        updateWorld();
        EXPECT_EQ(player.getDelayFactor(), 0.0f);
        EXPECT_EQ(player.isAnimating(), 0);
        EXPECT_EQ(player.getFrame(), 0);
    }
}

TEST_F(WorldUpdate, SpawnsOnceAfterMoreThan750HoweverLongThePass)
{
    lastSpawnAt = 1000;
    distance = 1750.0;
    updateWorld();
    EXPECT_EQ(enemyActive[0], 0);
    EXPECT_EQ(cloudActive[0], 0);

    // The enemy draws first, then the clouds.
    srand(3);
    std::vector<int> d;
    for (int i = 0; i < 6; i++)
        d.push_back(rand());
    srand(3);
    distance = 1750.9;
    updateWorld();
    EXPECT_EQ(enemyActive[0], 1);
    EXPECT_EQ(enemyActive[1], 0);
    EXPECT_EQ(clouds[0].getY(), (float)(d[5] % 350 + 60));
    EXPECT_EQ(lastSpawnAt, 1750u);

    distance = 100000.0;
    updateWorld();
    EXPECT_EQ(enemyActive[1], 1);
    EXPECT_EQ(enemyActive[2], 0);
    EXPECT_EQ(lastSpawnAt, 100000u);
}

TEST_F(WorldUpdate, ScrollWrapsAt3909AndTheFrontLayerMovesTwiceAsFast)
{
    frameStep = 1.0f;
    scrollX = 3907.0f;
    updateWorld();
    EXPECT_EQ(scrollX, 3908.0f);
    EXPECT_EQ(frontScrollX, 2.0f);
    frontScrollX = 3907.0f;
    updateWorld();
    EXPECT_EQ(scrollX, 0.0f);
    EXPECT_EQ(frontScrollX, 0.0f);

    // A pass of many laps still lands inside the range.
    scrollX = frontScrollX = 0.0f;
    frameStep = 10000.0f;
    updateWorld();
    EXPECT_EQ(scrollX, 10000.0f - 2 * 3909.0f);
    EXPECT_EQ(frontScrollX, 20000.0f - 5 * 3909.0f);
}

TEST_F(WorldUpdate, CloudsDriftAndPhasedEnemiesFollowTheCosinePath)
{
    frameStep = 4.0f;
    cloudActive[0] = 1;
    cloudSpeed[0] = 2;
    clouds[0].setX(300.0f);
    cloudSpeed[1] = 4;
    clouds[1].setX(300.0f);
    cloudActive[2] = 1;
    cloudSpeed[2] = 4;
    clouds[2].setX(100.0f);
    // Each enemy ends at x = 90; the phase completes the angle.
    int waves[4] = { 270, 90, 0, -5 };
    for (int j = 0; j < 4; j++) {
        addEnemy(j, 100.0f, 50.0f, 4, 1);
        enemyWave[j] = waves[j];
    }
    updateWorld();
    EXPECT_EQ(clouds[0].getX(), 296.0f);
    EXPECT_EQ(clouds[1].getX(), 300.0f);
    EXPECT_EQ(clouds[2].getX(), 92.0f);
    EXPECT_EQ(enemies[0].getX(), 90.0f);
    EXPECT_NEAR(enemies[0].getY(), 330.0f, 1e-3);
    EXPECT_NEAR(enemies[1].getY(), 130.0f, 1e-3);
    EXPECT_EQ(enemies[2].getY(), 50.0f);
    EXPECT_EQ(enemies[3].getY(), 50.0f);
}

TEST_F(WorldUpdate, NothingHappensWhilePausedOrOver)
{
    frameStep = 5.0f;
    distance = 10000.0;
    scrollX = frontScrollX = 10.0f;
    player.setDelayFactor(0.0f);
    player.setPos(300.0f, 100.0f);
    addEnemy(0, 300.0f, 100.0f, 1, 1);
    addBullet(0, 300.0f, 100.0f);
    addBullet(1, 100.0f, 300.0f);
    cloudActive[0] = 1;
    cloudSpeed[0] = 2;
    clouds[0].setX(300.0f);

    for (int state = 0; state < 2; state++) {
        paused = state == 0;
        gameOver = state == 1;
        updateWorld();
        EXPECT_EQ(bullets[1].getX(), 100.0f);
        EXPECT_EQ(enemies[0].getX(), 300.0f);
        EXPECT_EQ(enemyActive[0], 1);
        EXPECT_EQ(bulletActive[0], 1);
        EXPECT_EQ(enemyActive[1], 0);
        EXPECT_EQ(score, 0);
        EXPECT_EQ(lives, 5);
        EXPECT_EQ(lastSpawnAt, 0u);
        EXPECT_EQ(player.getDelayFactor(), 0.0f);
        EXPECT_EQ(clouds[0].getX(), 300.0f);
        EXPECT_EQ(scrollX, 10.0f);
        EXPECT_EQ(frontScrollX, 10.0f);
    }
}
