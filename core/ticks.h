// The millisecond clock that the frame loop and sprite animation read.
// It is SDL_GetTicks in the game; tests point it at a clock of their own.
#ifndef CORE_TICKS_H
#define CORE_TICKS_H

#include <SDL.h>

typedef Uint32 (*TickSource)(void);
extern TickSource tickSource;

inline Uint32 readTicks() { return tickSource(); }

#endif
