// The frame loop: timing, events, held keys, music, world update, drawing.
#include "game/loop.h"

#include "game/world.h"
#include "game/ticks.h"
#include "game/update.h"
#include "objects/spawn.h"
#include "render/frame.h"

// Queued events: quit, fire, pause, restart. Sets *quit on ESC or close.
static void handleEvents(int *quit)
{
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT)
            *quit = 1;
        if (event.type != SDL_KEYDOWN)
            continue;
        SDLKey sym = event.key.keysym.sym;
        if (sym == SDLK_ESCAPE)
            *quit = 1;
        if (sym == SDLK_SPACE && paused == 0 && gameOver == 0) {
            fireBullet();
            // The shot is heard even when every bullet is already in flight.
            Mix_PlayChannelTimed(0, shotSound, 0, -1);
        }
        if (sym == SDLK_p)
            paused = paused == 0 ? 1 : 0;
        if (sym == SDLK_RETURN && gameOver != 0)
            restartGame();
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

// Returns false when a crash at the lower edge ended the game, which ends
// the keyboard handling of this pass.
static bool moveShip(const Uint8 *keys)
{
    int up = takeStep(&upCarry, keys[SDLK_UP], frameStep * -2);
    if (keys[SDLK_UP]) {
        player.addY((float)up);
        if (player.getY() < 60.0f)
            player.setY(60.0f);
    }
    int down = takeStep(&downCarry, keys[SDLK_DOWN], frameStep + frameStep);
    if (keys[SDLK_DOWN]) {
        player.addY((float)down);
        if (player.getY() > 410.0f) {
            if (loseLife())
                return false;
            respawnPlayer();
            Mix_PlayChannelTimed(1, explodeSound, 0, -1);
        }
    }
    int left = takeStep(&leftCarry, keys[SDLK_LEFT], frameStep * -2);
    if (keys[SDLK_LEFT]) {
        player.addX((float)left);
        if (player.getX() < 0.0f)
            player.setX(0.0f);
    }
    int right = takeStep(&rightCarry, keys[SDLK_RIGHT], frameStep + frameStep);
    if (keys[SDLK_RIGHT]) {
        player.addX((float)right);
        if (player.getX() > 570.0f)
            player.setX(570.0f);
    }
    return true;
}

// Held-key debug aids: god mode, extra score, extra lives.
static void debugKeys(const Uint8 *keys)
{
    if (keys[SDLK_g])
        godMode = 1;
    if (keys[SDLK_g] && keys[SDLK_LSHIFT])
        godMode = 0;
    if (keys[SDLK_s])
        addScore(100);
    if (keys[SDLK_s] && keys[SDLK_LSHIFT] && keys[SDLK_RSHIFT])
        addScore(1000);
    if (keys[SDLK_LALT] && keys[SDLK_RSHIFT] && lives < 10)
        lives++;
}

int runFramePass(Uint32 now)
{
    int quit = 0;

    // Timing runs in every pass, paused or not, so no time piles up.
    nowTicks = now;
    Sint32 elapsed = (Sint32)(nowTicks - lastTicks);
    frameStep = (float)(elapsed * 0.1);
    lastTicks = nowTicks;
    if (paused == 0)
        distance = distance + frameStep * 10.0;

    handleEvents(&quit);

    const Uint8 *keys = SDL_GetKeyState(NULL);
    if (paused == 0 && gameOver == 0 && moveShip(keys))
        debugKeys(keys);

    // The module plays once; start it again after it has ended.
    if (Mix_PlayingMusic() == 0)
        Mix_PlayMusic(music, 0);

    updateWorld();
    renderFrame();
    return quit;
}

void runFrameLoop()
{
    // The first pass is measured from here, not from SDL's start, so loading
    // and the loading screen do not count as elapsed play.
    lastTicks = readTicks();
    int quit = 0;
    while (!quit) {
        quit = runFramePass(readTicks());
        SDL_Delay(1);
    }
}
