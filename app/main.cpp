// Driftwing: options, start-up, the loading screen, the frame loop, shutdown.
#include <SDL.h>
#include "game/options.h"
#include "game/gameroot.h"
#include "game/startup.h"
#include "game/loop.h"
#include "demo/demo.h"
#include "platform/signals.h"

int main(int argc, char *argv[])
{
    int status = parseOptions(argc, argv);
    if (status >= 0)
        return status;
    status = chooseGameRoot();
    if (status >= 0)
        return status;
    status = openDemo();
    if (status >= 0)
        return status;
    catchHangup();
    catchStopSignals();
    startSystems();
    loadAssets();
    showLoadingScreen();
    if (demoActive())
        runDemoLoop();
    else
        runFrameLoop();
    shutdownGame();
    return demoExitStatus();
}
