// What the fuzz targets share: SDL's dummy drivers and a display mode (the
// loaders convert to the display format), and a scratch directory in memory
// for the readers that take a path.
#ifndef FUZZ_HARNESS_H
#define FUZZ_HARNESS_H

#include <stdint.h>
#include <stdlib.h>
#include <fstream>
#include <string>
#include <unistd.h>
#include <sys/stat.h>
#include <SDL.h>

// The harness, not the game, picks the dummy drivers.
inline SDL_Surface *fuzzVideo()
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (SDL_Init(SDL_INIT_VIDEO) < 0)
        abort();
    SDL_Surface *screen = SDL_SetVideoMode(640, 480, 32, SDL_SWSURFACE);
    if (!screen)
        abort();
    return screen;
}

// A directory of this process under /dev/shm (or /tmp without it).
inline std::string fuzzScratch(const char *what)
{
    const char *base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::string dir = std::string(base) + "/driftwing-fuzz-" + what + "-" + std::to_string(getpid());
    mkdir(dir.c_str(), 0700);
    return dir;
}

// Writes size bytes to path; a null data removes the file instead.
inline void fuzzFile(const std::string &path, const uint8_t *data, size_t size)
{
    if (!data) {
        unlink(path.c_str());
        return;
    }
    if (!std::ofstream(path, std::ios::binary).write((const char *)data, size))
        abort();
}

#endif
