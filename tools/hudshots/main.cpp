// hudshots DATA OUT: draws the frames that show the HUD's tight spots with a
// data pack made by assetgen, and saves each as OUT/<state>.bmp. Run it on
// SDL's dummy video driver; `make hud-shots` turns the pictures into the
// ones of docs/hud.
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>
#include <string>
#include <SDL.h>
#include "game/startup.h"
#include "platform/display.h"
#include "render/frame.h"
#include "world/world.h"

int main(int argc, char *argv[])
{
    if (argc != 3) {
        fprintf(stderr, "usage: hudshots DATA OUT\n");
        return 2;
    }
    char out[4096];
    if (!realpath(argv[2], out) || chdir(argv[1]) != 0) {
        fprintf(stderr, "hudshots: cannot use %s and %s\n", argv[1], argv[2]);
        return 1;
    }
    if (SDL_Init(SDL_INIT_VIDEO) < 0 || !(screen = openDisplay(1, false))) {
        fprintf(stderr, "hudshots: no display: %s\n", SDL_GetError());
        return 1;
    }
    loadAssets();   // no mixer, so no sound is looked for
    const struct { const char *name; int lives, score, best, paused, god, over; } shots[] = {
        { "start", 5, 0, 0, 0, 0, 0 },
        { "new-best-4-digits", 3, 1234, 1000, 0, 0, 0 },
        { "ten-lives-paused-god", 10, 4321, 9876, 1, 1, 0 },
        { "seven-digits", 10, 9999999, 9999999, 0, 0, 0 },
        { "game-over", -1, 1234, 99999, 0, 0, 1 },
    };
    int status = 0;
    for (const auto &s : shots) {
        lives = s.lives;
        score = s.score;
        highScore = s.best;
        paused = s.paused;
        godMode = s.god;
        gameOver = s.over;
        renderFrame();
        std::string file = std::string(out) + "/" + s.name + ".bmp";
        if (SDL_SaveBMP(screen, file.c_str()) != 0) {
            fprintf(stderr, "hudshots: cannot write %s: %s\n", file.c_str(), SDL_GetError());
            status = 1;
        }
    }
    SDL_Quit();
    return status;
}
