// Driftwing: start-up, the loading screen, the frame loop, shutdown.
#include <SDL/SDL.h>
#include "game/startup.h"
#include "game/loop.h"

int main(int argc, char *argv[])
{
    (void)argc;
    (void)argv;
    startSystems();
    loadAssets();
    showLoadingScreen();
    runFrameLoop();
    shutdownGame();
    return 0;
}
