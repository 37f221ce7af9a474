#include "game/update.h"

#include <math.h>
#include "world/world.h"
#include "objects/collide.h"
#include "game/spawn.h"

// Both backdrop layers repeat every 3909 pixels.
static const float scrollWrap = 3909.0f;

static void playExplosion()
{
    if (explodeSound)
        Mix_PlayChannelTimed(1, explodeSound, 0, -1);
}

// Bullets fly right at 3.5 px per 10 ms and leave once past the right edge.
static void moveBullets()
{
    for (int i = 0; i < maxBullets; i++) {
        if (bulletActive[i] != 1)
            continue;
        float step = (float)(frameStep * 3.5);
        bullets[i].addX(step);
        if (bullets[i].getX() > 640.0f)
            bulletActive[i] = 0;
    }
}

// Moves enemy j left by its speed class and, when it has a phase, along the
// cosine path around the middle of the play band.
static void moveEnemy(int j)
{
    double dx = -((double)(enemySpeed[j] + 1) * (double)frameStep * 0.5);
    enemies[j].addX((float)dx);
    if (enemyWave[j] > 0) {
        double x = enemies[j].getX();
        enemies[j].setY((float)(230.0 + 100.0 * cos(0.0174532925 * (x + enemyWave[j]))));
    }
}

// Every bullet in play that touches enemy j hits it, even after an earlier
// bullet of this pass has destroyed it.
static void bulletHits(int j)
{
    for (int k = 0; k < maxBullets; k++) {
        if (bulletActive[k] != 1 || !collide(bullets[k], enemies[j]))
            continue;
        enemyHealth[j]--;
        if (enemyHealth[j] > 0) {
            addScore(1);
        } else {
            enemyActive[j] = 0;
            addScore(10);
            playExplosion();
        }
        bulletActive[k] = 0;
    }
}

// The ship against enemy j; only a hittable ship (delayFactor exactly 0)
// can be hit. Returns true when that hit ended the game.
static bool playerHit(int j)
{
    if (player.getDelayFactor() != 0.0f || !collide(player, enemies[j]))
        return false;
    if (loseLife())
        return true;
    enemyActive[j] = 0;
    if (godMode != 1)
        respawnPlayer();
    playExplosion();
    return false;
}

static void updateEnemies()
{
    for (int j = 0; j < maxEnemies; j++) {
        if (enemyActive[j] != 1)
            continue;
        moveEnemy(j);
        if (enemies[j].getX() < -50.0f) {
            enemyActive[j] = 0;
            continue;
        }
        bulletHits(j);
        // The game is over: the rest of the enemies stand still this pass.
        if (playerHit(j))
            break;
    }
}

// The ship becomes hittable again once more than 3000 ms of play have
// passed since the last respawn; checked in every pass.
static void expireInvulnerability()
{
    if (distance - (double)lastHitAt > 3000.0) {
        player.stopAnim();
        player.setDelayFactor(0.0f);
        player.setFrame(0);
    }
}

// One enemy and new cloud places every 750 ms of play; a long pass still
// spawns only once.
static void spawnTimer()
{
    if (distance - (double)lastSpawnAt > 750.0) {
        spawnEnemy();
        spawnClouds();
        lastSpawnAt = clockStamp();
    }
}

// Clouds in play drift left at 50 to 200 px per second by their speed class.
static void driftClouds()
{
    for (int i = 0; i < maxClouds; i++) {
        if (cloudActive[i] != 1)
            continue;
        double dx = -((double)cloudSpeed[i] * (double)frameStep * 0.5);
        clouds[i].addX((float)dx);
    }
}

// Keeps a scroll position in [0, 3909). A normal pass needs one subtraction
// at most; a very long pass (the first after start-up) may need several.
static float wrapScroll(float v)
{
    while (v >= scrollWrap)
        v -= scrollWrap;
    return v;
}

// The far layer moves 1 px per 10 ms, the front layer twice as fast.
static void advanceScroll()
{
    scrollX = wrapScroll(scrollX + frameStep);
    frontScrollX = wrapScroll(frontScrollX + frameStep * 2.0f);
}

void updateWorld()
{
    if (paused != 0 || gameOver != 0)
        return;
    moveBullets();
    updateEnemies();
    expireInvulnerability();
    spawnTimer();
    driftClouds();
    advanceScroll();
}
