#include "game/spawn.h"

#include <stdlib.h>
#include "world/world.h"
#include "core/random.h"

// Lowest free slot of a pool, or -1 when every slot is in play.
static int freeSlot(const int *active, int count)
{
    for (int i = 0; i < count; i++)
        if (active[i] == 0)
            return i;
    return -1;
}

void fireBullet()
{
    int i = freeSlot(bulletActive, maxBullets);
    if (i < 0)
        return;
    // In front of the ship's nose.
    bullets[i].setPos(player.getX() + 70.0f, player.getY() + 19.0f);
    bulletActive[i] = 1;
}

// Phase of the cosine path: one enemy in seven (by the first draw) flies a
// curve, with a phase in degrees from 1 to 360 taken from that same draw;
// the others fly straight.
static int wavePhase(int r)
{
    if (r % 7 != 0)
        return 0;
    return (r / 7) % 360 + 1;
}

void spawnEnemy()
{
    int i = freeSlot(enemyActive, maxEnemies);
    if (i < 0)
        return;
    int r = gameRand();
    // The frame draw is made even for a one-frame set so that the sequence
    // of draws stays the same; such a set can only show frame 0.
    int frame = gameRand() % 2;
    enemies[i].setFrame(enemySet.frameCount >= 2 ? frame : 0);
    enemyWave[i] = wavePhase(r);
    enemies[i].stopAnim();
    enemies[i].setPos(640.0f, (float)(gameRand() % 350 + 60));
    enemySpeed[i] = gameRand() % 4 + 1;
    enemyHealth[i] = gameRand() % 3 + 1;
    enemyActive[i] = 1;
}

// A cloud wants a new place before its first flight and once it has drifted
// wholly off the left edge; one still crossing the screen is left alone.
static bool cloudNeedsPlace(int i)
{
    if (cloudActive[i] != 1)
        return true;
    return clouds[i].getX() < (float)-clouds[i].getW();
}

void spawnClouds()
{
    for (int i = 0; i < maxClouds; i++) {
        if (!cloudNeedsPlace(i))
            continue;
        clouds[i].stopAnim();
        clouds[i].setPos(640.0f, (float)(gameRand() % 350 + 60));
        cloudSpeed[i] = gameRand() % 4 + 1;
        cloudActive[i] = 1;
    }
}
