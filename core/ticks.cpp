#include "core/ticks.h"

static Uint32 sdlTicks(void) { return SDL_GetTicks(); }

TickSource tickSource = sdlTicks;
