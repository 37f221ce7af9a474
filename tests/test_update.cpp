// The rule book: motion, hits, lives, timers and scrolling, one pass at a
// time on hand-placed pools of 10x10 sprites.
#include <gtest/gtest.h>
#include "game/update.h"
#include "world/world.h"

static SpriteSet box = {   // one 10x10 frame
    new SpriteFrame[1]{ { SDL_CreateRGBSurface(SDL_SWSURFACE, 10, 10, 32, 0, 0, 0, 0), 100 } }, 1, 1, 10, 10 };
static Mix_Chunk *boom;    // two seconds of silence on the explosion channel

static void addBullet(int k, float x, float y)
{
    bullets[k].init(&box, nullptr);
    bullets[k].setPos(x, y);
    bulletActive[k] = 1;
}

static void addEnemy(int j, float x, float y, int speed, int health)
{
    enemies[j].init(&box, nullptr);
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
        // Explosions are seen on mixer channel 1, so the mixer must run
        // (on the dummy driver the harness chooses).
        static Uint8 silence[22050 * 4 * 2];
        if (Mix_OpenAudio(22050, AUDIO_S16SYS, 2, 512) == 0)
            boom = Mix_QuickLoad_RAW(silence, sizeof silence);
    }
    // The mixer's thread is stopped before the process ends: left running,
    // it goes on calling into libraries that exit is already taking down.
    static void TearDownTestSuite()
    {
        Mix_HaltChannel(-1);
        Mix_FreeChunk(boom);
        boom = nullptr;
        Mix_CloseAudio();
    }
    void SetUp() override
    {
        ASSERT_NE(boom, nullptr) << "no mixer: " << Mix_GetError();
        paused = gameOver = godMode = score = 0;
        lives = 5;
        distance = 0.0;
        frameStep = scrollX = frontScrollX = 0.0f;
        lastHitAt = lastSpawnAt = 0;
        player = Sprite();
        player.init(&box, nullptr);
        player.setPos(300.0f, 400.0f);
        player.setDelayFactor(1.0f);   // invulnerable unless a test says so
        for (int i = 0; i < maxEnemies; i++)   // both pools hold 50
            bulletActive[i] = enemyActive[i] = enemyWave[i] = 0;
        for (int &c : cloudActive)
            c = 0;
        enemySet = box;
        explodeSound = boom;
        Mix_HaltChannel(-1);
    }
};

TEST_F(WorldUpdate, APassMovesEverythingAndRemovesOnlyWhatIsPastItsEdge)
{
    frameStep = 1.0f;
    addBullet(0, 636.5f, 50.0f);         // lands on 640
    addEnemy(0, -49.0f, 100.0f, 1, 2);   // lands on -50 ...
    addBullet(1, -53.5f, 100.0f);        // ... and meets this one there
    // Ends at x = 90, where a phase of 270 completes the angle to 360; the
    // enemy without a phase stays on its line (or bullet 1 would miss it).
    addEnemy(1, 91.0f, 50.0f, 1, 1);
    enemyWave[1] = 270;
    cloudActive[0] = 1;
    cloudSpeed[0] = cloudSpeed[1] = 2;   // cloud 1 is not in play
    clouds[0].setX(300.0f);
    clouds[1].setX(300.0f);
    updateWorld();
    EXPECT_EQ(bullets[0].getX(), 640.0f);
    EXPECT_EQ(bulletActive[0], 1);
    EXPECT_EQ(enemies[0].getX(), -50.0f);
    EXPECT_EQ(enemyActive[0], 1);
    EXPECT_EQ(enemies[1].getX(), 90.0f);
    EXPECT_NEAR(enemies[1].getY(), 330.0f, 1e-3);
    EXPECT_EQ(clouds[0].getX(), 299.0f);
    EXPECT_EQ(clouds[1].getX(), 300.0f);
    // Health 2: the hit costs one, scores 1 and uses up the bullet, quietly.
    EXPECT_EQ(enemyHealth[0], 1);
    EXPECT_EQ(score, 1);
    EXPECT_EQ(bulletActive[1], 0);
    EXPECT_FALSE(exploded());

    // One pass later both are past their edges; the leaving enemy is not
    // tested against the bullet that reaches it. Health 1 is destroyed by
    // one hit, for 10 points and an explosion.
    addBullet(2, -54.5f, 100.0f);
    addBullet(3, 85.5f, 330.0f);
    updateWorld();
    EXPECT_EQ(bulletActive[0], 0);
    EXPECT_EQ(enemyActive[0], 0);
    EXPECT_EQ(bulletActive[2], 1);
    EXPECT_EQ(enemyActive[1], 0);
    EXPECT_EQ(score, 11);
    EXPECT_TRUE(exploded());
}

TEST_F(WorldUpdate, ShipHitsCostALifeOnlyWhenHittableAndNotInGodMode)
{
    // Two bullets on an enemy of health 1: both hit, both are used up, both
    // score 10; the destroyed enemy still rams the hittable ship.
    player.setDelayFactor(0.0f);
    player.setPos(300.0f, 100.0f);
    addEnemy(0, 300.0f, 100.0f, 1, 1);
    addBullet(0, 300.0f, 100.0f);
    addBullet(1, 302.0f, 101.0f);
    updateWorld();
    EXPECT_EQ(enemyActive[0], 0);
    EXPECT_EQ(score, 20);
    EXPECT_EQ(bulletActive[0] + bulletActive[1], 0);
    EXPECT_TRUE(exploded());
    EXPECT_EQ(lives, 4);
    EXPECT_EQ(player.getX(), 10.0f);   // respawned, blinking

    // Invulnerable after the respawn: an enemy passes through.
    addEnemy(1, 10.0f, 245.0f, 1, 1);
    updateWorld();
    EXPECT_EQ(lives, 4);

    // God mode: the enemy goes up in flames, the ship stays where it is.
    Mix_HaltChannel(-1);
    godMode = 1;
    player.setDelayFactor(0.0f);
    player.setPos(300.0f, 100.0f);
    addEnemy(2, 300.0f, 100.0f, 1, 3);
    updateWorld();
    EXPECT_EQ(enemyActive[2], 0);
    EXPECT_EQ(player.getX(), 300.0f);
    EXPECT_TRUE(exploded());
}

TEST_F(WorldUpdate, LastLifeStopsTheEnemyLoopButNotTheTimersThenNothingMoves)
{
    lives = 0;
    frameStep = 1.0f;
    distance = 5000.5;
    player.setDelayFactor(0.0f);
    player.setPos(300.0f, 100.0f);
    player.setFrame(2);
    addEnemy(0, 500.0f, 300.0f, 1, 1);
    addEnemy(1, 301.0f, 100.0f, 1, 1);
    addEnemy(2, 500.0f, 300.0f, 1, 1);
    updateWorld();
    EXPECT_EQ(gameOver, 1);
    EXPECT_EQ(enemyActive[1], 1);
    EXPECT_EQ(enemies[0].getX(), 499.0f);
    EXPECT_EQ(enemies[2].getX(), 500.0f);
    EXPECT_EQ(player.getX(), 300.0f);
    EXPECT_FALSE(exploded());
    // Expiry, spawn and scroll still ran.
    EXPECT_EQ(player.getFrame(), 0);
    EXPECT_EQ(enemyActive[3], 1);
    EXPECT_EQ(scrollX, 1.0f);

    // Now the game is over, and then paused: passes change nothing.
    player.setDelayFactor(1.0f);
    addBullet(5, 100.0f, 300.0f);
    float cloudX = clouds[0].getX();
    for (int state = 0; state < 2; state++) {
        gameOver = state == 0;
        paused = state == 1;
        distance += 1000.0;
        updateWorld();
        EXPECT_EQ(bullets[5].getX(), 100.0f);
        EXPECT_EQ(enemies[0].getX(), 499.0f);
        EXPECT_EQ(player.getDelayFactor(), 1.0f);
        EXPECT_EQ(lastSpawnAt, 5000u);
        EXPECT_EQ(clouds[0].getX(), cloudX);
        EXPECT_EQ(scrollX, 1.0f);
    }
}

TEST_F(WorldUpdate, TimersFireOnlyAfterMoreThanTheirIntervalAndOncePerPass)
{
    lastHitAt = 1000;
    lastSpawnAt = 3250;
    player.startAnim();
    // Exactly 3000 and 750 ms on: nothing yet.
    distance = 4000.0;
    updateWorld();
    EXPECT_EQ(player.getDelayFactor(), 1.0f);
    EXPECT_EQ(enemyActive[0], 0);

    // A little later the ship is hittable again, and an enemy and the
    // clouds arrive.
    distance = 4000.25;
    updateWorld();
    EXPECT_EQ(player.getDelayFactor(), 0.0f);
    EXPECT_EQ(player.isAnimating(), 0);
    EXPECT_EQ(enemyActive[0], 1);
    EXPECT_EQ(cloudActive[0], 1);
    EXPECT_EQ(lastSpawnAt, 4000u);

    // However long the pass, one enemy.
    distance = 100000.0;
    updateWorld();
    EXPECT_EQ(enemyActive[1], 1);
    EXPECT_EQ(enemyActive[2], 0);
}

TEST_F(WorldUpdate, ScrollWrapsAt3909AndTheFrontLayerMovesTwiceAsFast)
{
    frameStep = 1.0f;
    scrollX = 3907.0f;
    frontScrollX = 3906.0f;
    updateWorld();
    EXPECT_EQ(scrollX, 3908.0f);
    EXPECT_EQ(frontScrollX, 3908.0f);
    updateWorld();
    EXPECT_EQ(scrollX, 0.0f);
    EXPECT_EQ(frontScrollX, 1.0f);

    // A pass of many laps still lands inside the range.
    frameStep = 10000.0f;
    updateWorld();
    EXPECT_EQ(scrollX, 10000.0f - 2 * 3909.0f);
    EXPECT_EQ(frontScrollX, 20001.0f - 5 * 3909.0f);
}
