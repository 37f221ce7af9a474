// The frame loop: timing, events, held keys, music, world update, drawing.
#include "game/loop.h"

#include "world/world.h"
#include "core/ticks.h"
#include "platform/input.h"
#include "game/update.h"
#include "game/spawn.h"
#include "render/frame.h"
#include "game/startup.h"
#include "game/highscore.h"

// Queued events: quit, fire, pause, restart. Sets *quit on ESC or close.
static void handleEvents(const PassInput &in, int *quit)
{
    for (int i = 0; i < in.eventCount; i++) {
        switch (in.events[i]) {
        case passQuit:
        case passEscape:
            *quit = 1;
            break;
        case passFire:
            if (paused == 0 && gameOver == 0) {
                fireBullet();
                // The shot is heard even when every bullet is already in flight.
                if (shotSound)
                    Mix_PlayChannelTimed(0, shotSound, 0, -1);
            }
            break;
        case passPause:
            paused = paused == 0 ? 1 : 0;
            break;
        case passFocusPause:
            paused = 1;
            break;
        case passRestart:
            if (gameOver != 0)
                restartGame();
            break;
        case passStart:
            if (gameOver != 0)
                restartGame();
            else
                paused = paused == 0 ? 1 : 0;
            break;
        }
    }
}

// The ship moves in whole pixels at 2 pixels per 10 ms. The step of a pass
// is truncated toward zero before it is added, so up/left and down/right are
// equally fast; what truncation cuts off is carried into the next pass while
// the key stays held. Without the carry a machine that runs passes shorter
// than 5 ms would never move the ship at all.
static double upCarry, downCarry, leftCarry, rightCarry;

static int takeStep(double *carry, bool held, float amount)
{
    if (!held) {
        *carry = 0.0;
        return 0;
    }
    double total = *carry + amount;
    int step = (int)total;
    *carry = total - step;
    return step;
}

void shipCarries(double out[4])
{
    out[0] = upCarry;
    out[1] = downCarry;
    out[2] = leftCarry;
    out[3] = rightCarry;
}

// Returns false when a crash at the lower edge ended the game, which ends
// the keyboard handling of this pass.
static bool moveShip(Uint16 held)
{
    int up = takeStep(&upCarry, held & heldUp, frameStep * -2);
    if (held & heldUp) {
        player.addY((float)up);
        if (player.getY() < 60.0f)
            player.setY(60.0f);
    }
    int down = takeStep(&downCarry, held & heldDown, frameStep + frameStep);
    if (held & heldDown) {
        player.addY((float)down);
        if (player.getY() > 410.0f) {
            if (loseLife())
                return false;
            respawnPlayer();
            if (explodeSound)
                Mix_PlayChannelTimed(1, explodeSound, 0, -1);
        }
    }
    int left = takeStep(&leftCarry, held & heldLeft, frameStep * -2);
    if (held & heldLeft) {
        player.addX((float)left);
        if (player.getX() < 0.0f)
            player.setX(0.0f);
    }
    int right = takeStep(&rightCarry, held & heldRight, frameStep + frameStep);
    if (held & heldRight) {
        player.addX((float)right);
        if (player.getX() > 570.0f)
            player.setX(570.0f);
    }
    return true;
}

// Held-key debug aids: god mode, extra score, extra lives.
static void debugKeys(Uint16 held)
{
    if (held & heldG)
        godMode = 1;
    if ((held & heldG) && (held & heldLShift))
        godMode = 0;
    if (held & heldS)
        addScore(100);
    if ((held & heldS) && (held & heldLShift) && (held & heldRShift))
        addScore(1000);
    if ((held & heldLAlt) && (held & heldRShift) && lives < 10)
        lives++;
}

int runPass(const PassInput &in)
{
    int quit = 0;

    // Timing runs in every pass, paused or not, so no time piles up.
    nowTicks = in.ticks;
    Sint32 elapsed = (Sint32)(nowTicks - lastTicks);
    frameStep = (float)(elapsed * 0.1);
    lastTicks = nowTicks;
    if (paused == 0)
        distance = distance + frameStep * 10.0;

    handleEvents(in, &quit);

    if (paused == 0 && gameOver == 0 && moveShip(in.held))
        debugKeys(in.held);

    // The module plays once; start it again after it has ended.
    if (music && Mix_PlayingMusic() == 0)
        Mix_PlayMusic(music, 0);

    updateWorld();
    // A game that ended above the best sets the best: the next game's HUD
    // shows it as the score to beat, and it is saved at once, so a new game
    // or a crash can never lose it.
    if (gameOver != 0 && raiseHighScore())
        saveBestScore();
    renderFrame();
    // Holding the pad's Back quits only while the game is paused or over.
    padBackQuits = paused != 0 || gameOver != 0;
    // The one copy of the best a quit signal's last wish may read.
    publishRunBest();
    return quit;
}

int runFramePass(Uint32 now)
{
    static PassInput in;
    readLiveInput(&in, now);
    return runPass(in);
}

void startFrameLoop()
{
    // The first pass is measured from here, not from SDL's start, so loading
    // and the loading screen do not count as elapsed play.
    lastTicks = readTicks();
}

void runFrameLoop()
{
    startFrameLoop();
    int quit = 0;
    while (!quit) {
        quit = runFramePass(readTicks());
        SDL_Delay(1);
    }
}
