// Driftwing in a web page. Start-up is the desktop's; then, since a page
// must never block, the browser calls one frame at a time, and what the
// desktop waits for (the loading screen's three seconds, a demo's pace, the
// fade at the end) becomes a timed stage of that frame.
#include <emscripten.h>
#include <SDL.h>
#include <unistd.h>
#include "core/ticks.h"
#include "game/options.h"
#include "game/gameroot.h"
#include "game/highscore.h"
#include "game/startup.h"
#include "game/loop.h"
#include "demo/demo.h"
#include "platform/input.h"
#include "world/world.h"

// Where the page puts the data (preloaded) and the browser's storage.
static const char gameFolder[] = "/game";
static const char bestScorePath[] = "/save/high1";

enum Stage { loadingScreen, playing, playingDemo, fadingOut, stopped };
static Stage stage;
static Uint32 stageStart;
static bool pageHidden;

static void enter(Stage next)
{
    stage = next;
    stageStart = SDL_GetTicks();
}

static bool stageLasted(Uint32 ms)
{
    return timedRun || SDL_GetTicks() - stageStart >= ms;
}

// One pass on live input. ESC belongs to the browser (it leaves full
// screen) and a page is closed, not quit: ESC pauses, as losing the focus
// does. So does hiding the page, which stops its frames.
static int livePass()
{
    static PassInput in;
    readLiveInput(&in, readTicks());
    for (int i = 0; i < in.eventCount; i++)
        if (in.events[i] == passEscape)
            in.events[i] = passFocusPause;
    if (pageHidden) {
        pageHidden = false;
        if (focusPauses)
            addPassEvent(&in, passFocusPause);
    }
    return runPass(in);
}

// The page is told when the game is over, or could not start: it says so
// below the picture.
static void tellPageItEnded(bool early)
{
    EM_ASM({ if (Module.gameEnded) Module.gameEnded($0); }, early);
}

static void runStage();

// A played demo takes the passes due by now. A timed one takes as many as
// fit in most of a displayed frame: the browser shows the last of them, and
// a page that drew every pass would be held to the display's pace.
static const double timedFrameMs = 12.0;

static bool playDemoFrame()
{
    if (!timedRun)
        return stepDemo();
    double begin = emscripten_get_now();
    while (emscripten_get_now() - begin < timedFrameMs)
        if (!stepDemo())
            return false;
    return true;
}

// A page has one thread: the mixer's fade out never advances while the game
// waits for it, and freeing a module that is still fading waits for just
// that. What still plays is stopped first.
static void stopSound()
{
    if (!audioOpen)
        return;
    Mix_HaltChannel(-1);
    Mix_HaltMusic();
}

static void endGame()
{
    enter(beginShutdown() ? fadingOut : stopped);
}

// How the page keeps up: frames run and the time spent inside them.
static double framesRun, frameBusyMs;

static void frame()
{
    double begin = emscripten_get_now();
    runStage();
    framesRun++;
    frameBusyMs += emscripten_get_now() - begin;
}

static void runStage()
{
    switch (stage) {
    case loadingScreen:
        if (!stageLasted(loadingScreenMs))
            break;
        if (demoActive()) {
            startDemoSteps();
            enter(playingDemo);
        } else {
            startFrameLoop();
            enter(playing);
        }
        break;
    case playing:
        if (livePass())
            endGame();
        break;
    case playingDemo:
        if (!playDemoFrame())
            endGame();
        break;
    case fadingOut:
        if (stageLasted(fadeOutMs))
            enter(stopped);
        break;
    case stopped:
        break;
    }
    if (stage == stopped) {
        stopSound();
        finishShutdown();
        emscripten_cancel_main_loop();
        tellPageItEnded(false);
    }
}

// What the page (and its test) can read of the game: the ship's place, the
// score, the best, the lives, whether paused, the bullets in flight, the
// stage, the frames run and the milliseconds spent in them, whether the
// game is over.
extern "C" EMSCRIPTEN_KEEPALIVE double webReading(int which)
{
    int flying = 0;
    switch (which) {
    case 0: return player.getX();
    case 1: return player.getY();
    case 2: return score;
    case 3: return highScore;
    case 4: return lives;
    case 5: return paused;
    case 6:
        for (int i = 0; i < maxBullets; i++)
            flying += bulletActive[i] != 0;
        return flying;
    case 7: return stage;
    case 8: return framesRun;
    case 9: return frameBusyMs;
    case 10: return gameOver;
    }
    return -1;
}

// Each save of the best goes on to the browser's storage at once.
static void persistBestScore()
{
    EM_ASM({ if (Module.persistBestScore) Module.persistBestScore(); });
}

// The page calls this when it is hidden, which may be the last the game
// hears of it: the best of the run is saved as the desktop saves it at
// exit, and the game pauses.
extern "C" EMSCRIPTEN_KEEPALIVE void webPageHidden()
{
    if (stage == playing) {
        saveBestScore();
        pageHidden = true;
    }
}

static int stopEarly(int status)
{
    tellPageItEnded(true);
    return status;
}

int main(int argc, char *argv[])
{
    int status = parseOptions(argc, argv);
    if (status >= 0)
        return stopEarly(status);
    if (chdir(gameFolder) != 0) {
        fprintf(stderr, "driftwing: the page holds no game data in %s\n", gameFolder);
        return stopEarly(1);
    }
    status = chooseGameRoot();
    if (status >= 0)
        return stopEarly(status);
    // The storage folder is the page's own (kept in the browser when it
    // allows, else for as long as the page is open).
    highScoreFile = bestScorePath;
    bestScoreSaved = persistBestScore;
    status = openDemo();
    if (status >= 0)
        return stopEarly(status);
    startSystems();
    loadAssets();
    drawLoadingScreen();
    enter(loadingScreen);
    emscripten_set_main_loop(frame, 0, 0);
    return 0;
}
