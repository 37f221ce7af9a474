// Driftwing: options, start-up, the loading screen, the frame loop, shutdown.
#include <SDL.h>
#include "game/options.h"
#include "game/gameroot.h"
#include "game/startup.h"
#include "game/loop.h"
#include "demo/demo.h"
#include "platform/signals.h"
#include "platform/displaylost.h"

// What must not be lost when the game ends at once, by a second quit signal
// or with its display gone, wherever the main thread is: the best of the run
// and what has been recorded.
static void lastWish()
{
    saveBestScoreAtOnce();
    endRecordingAtOnce();
}

int main(int argc, char *argv[])
{
    // A write past a file-size limit fails and is reported, from the
    // recording's first byte to the last save.
    ignoreFileSizeSignal();
    int status = parseOptions(argc, argv);
    if (status >= 0)
        return status;
    status = chooseGameRoot();
    if (status >= 0)
        return status;
    status = openDemo();
    if (status >= 0)
        return status;
    catchQuitSignals(lastWish);
    startSystems();
    whenDisplayLost(lastWish);
    loadAssets();
    showLoadingScreen();
    if (demoActive())
        runDemoLoop();
    else
        runFrameLoop();
    shutdownGame();
    return demoExitStatus();
}
