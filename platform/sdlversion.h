// Which SDL the game runs on, for --version and bug reports.
#ifndef PLATFORM_SDLVERSION_H
#define PLATFORM_SDLVERSION_H

#include <stddef.h>

// One line, without a newline: the SDL and SDL_mixer libraries running now
// and the versions the game was built against, e.g.
// "SDL 2.26.5 (built against 2.26.5), SDL_mixer 2.6.3 (built against 2.6.3)".
// Needs no SDL system started.
void describeSdl(char *out, size_t size);

#endif
