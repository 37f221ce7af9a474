// Three scripted games. Times are milliseconds since the loop began; passes
// last 6 to 16 ms in a fixed cycle, so the ship's carried steps and every
// timer see uneven passes.
#include "tools/demogen/scripts.h"

#include "world/world.h"

ScriptCoverage coverage;

static const Uint32 entryTicks = 3500;
static const Uint32 stepCycle[] = { 7, 9, 12, 16, 8, 10, 11, 6 };
static long passNo;
static Uint32 now = entryTicks;
static int readings;

Uint32 scriptClock() { return now + readings++ / 16; }

// What the previous pass left, for the coverage counts.
static int seenHealth[maxEnemies], spawnHealth[maxEnemies], seenActive[maxEnemies];
static int seenLives = 5, seenGameOver, seenScore;
static float seenY;

static void countCoverage()
{
    for (int j = 0; j < maxEnemies; j++) {
        if (enemyActive[j] == 1 && !seenActive[j]) {
            spawnHealth[j] = enemyHealth[j];
            coverage.wavyEnemies += enemyWave[j] > 0;
        }
        if (seenActive[j] && enemyHealth[j] < seenHealth[j])
            coverage.hits++;
        if (seenActive[j] && enemyActive[j] == 0 && enemyHealth[j] <= 0) {
            coverage.kills++;
            coverage.multiHitKills += spawnHealth[j] >= 2;
        }
        seenActive[j] = enemyActive[j] == 1;
        seenHealth[j] = enemyHealth[j];
    }
    if (lives < seenLives && lives >= 0) {
        coverage.livesLost++;
        coverage.crashes += seenY > 400.0f;
    }
    coverage.collisions += lives < seenLives && seenY <= 400.0f;
    coverage.gameOvers += gameOver && !seenGameOver;
    coverage.restarts += !gameOver && seenGameOver;
    coverage.pausedPasses += paused != 0;
    coverage.godPasses += godMode == 1;
    coverage.debugScore += score >= seenScore + 100;
    coverage.debugLives += lives > seenLives && !seenGameOver;
    seenLives = lives;
    seenGameOver = gameOver;
    seenScore = score;
    seenY = player.getY();
}

// Starts the next pass at the next tick of the cycle; returns its time.
static Uint32 beginPass(PassInput *in)
{
    if (passNo > 0)
        countCoverage();
    now += stepCycle[passNo % 8];
    passNo++;
    readings = 0;
    in->ticks = now;
    in->held = 0;
    in->eventCount = 0;
    return now - entryTicks;
}

// True in the one pass that crosses time t.
static bool at(Uint32 t, Uint32 ms) { return ms >= t && ms - stepCycle[(passNo - 1) % 8] < t; }

// Keys that steer the ship's y toward target, with a dead zone.
static Uint16 steerY(float target)
{
    float y = player.getY();
    if (y < target - 3.0f)
        return heldDown;
    if (y > target + 3.0f)
        return heldUp;
    return 0;
}

// The y of the nearest enemy in play ahead of the ship, or -1.
static float nearestEnemyY()
{
    float best = 1e9f, y = -1.0f;
    for (int j = 0; j < maxEnemies; j++)
        if (enemyActive[j] == 1 && enemies[j].getX() > player.getX() && enemies[j].getX() < best) {
            best = enemies[j].getX();
            y = enemies[j].getY();
        }
    return y;
}

// Forty seconds of shooting: the ship lines its guns up with the nearest
// enemy and fires every 120 ms; a two-second pause in the middle.
static bool dogfight(PassInput *in)
{
    Uint32 t = beginPass(in);
    if (t > 40000)
        return false;
    float y = nearestEnemyY();
    if (y >= 0.0f) {
        float target = y - 8.0f;
        in->held = steerY(target < 390.0f ? target : 390.0f);
    }
    if (t < 400)
        in->held |= heldRight;
    if (t % 120 < stepCycle[(passNo - 1) % 8])
        addPassEvent(in, passFire);
    if (at(20000, t) || at(22000, t))
        addPassEvent(in, passPause);
    if (at(39900, t))
        addPassEvent(in, passEscape);
    return true;
}

// The debug keys, crashes into the lower edge with and without god mode,
// game over, a pause during it, a restart, and the window's close.
static bool debugRun(PassInput *in)
{
    Uint32 t = beginPass(in);
    if (t > 30000)
        return false;
    if (t < 1000)
        in->held = heldG;
    else if (t < 3000)
        in->held = heldDown;
    else if (t < 3500)
        in->held = heldG | heldLShift;
    else if (t < 4500)
        in->held = heldS;
    else if (t < 4600)
        in->held = heldS | heldLShift | heldRShift;
    else if (t < 5000)
        in->held = heldLAlt | heldRShift;
    else if (t < 22000)
        in->held = heldDown | heldRight;
    if (t >= 5000 && t < 22000 && t % 250 < 10)
        addPassEvent(in, passFire);
    if (at(23000, t) || at(23500, t) || at(24000, t))
        addPassEvent(in, passPause);
    if (at(23200, t))
        addPassEvent(in, passFire);     // ignored in game over
    if (at(24500, t))
        addPassEvent(in, passRestart);
    if (t > 24600 && t < 27000)
        in->held = steerY(300.0f);
    if (at(27000, t))
        addPassEvent(in, passQuit);
    return true;
}

// The ship flies into the enemies' path until they have taken every life,
// then starts again and keeps at it for a while.
static bool rammer(PassInput *in)
{
    Uint32 t = beginPass(in);
    if (t > 60000)
        return false;
    float y = nearestEnemyY();
    if (y >= 0.0f)
        in->held = steerY(y);
    if (player.getX() < 300.0f)
        in->held |= heldRight;
    static Uint32 overAt;
    if (gameOver && overAt == 0)
        overAt = t;
    if (overAt && at(overAt + 1500, t))
        addPassEvent(in, passRestart);
    if (overAt && at(overAt + 6000, t))
        addPassEvent(in, passEscape);
    return true;
}

const DemoScript demoScripts[] = {
    // Passed halfway: the HUD shows the best, then the new best.
    { "dogfight", 20261206, 300, dogfight },
    // From 0: the debug score ends a game above it, and the next game has
    // that score to beat.
    { "debugkeys", 7, 0, debugRun },
    // Never reached: the best stands on the HUD throughout.
    { "rammer", 4242, 1000, rammer },
};
const int demoScriptCount = sizeof demoScripts / sizeof demoScripts[0];
