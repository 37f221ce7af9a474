// Stable hashes of what a pass leaves behind: the rules state and the
// picture. Demos compare them to prove that a game still plays the same.
#ifndef DEMO_STATEHASH_H
#define DEMO_STATEHASH_H

#include <stddef.h>
#include <SDL.h>

// 32-bit FNV-1a, continued from h.
const Uint32 fnvStart = 2166136261u;
Uint32 fnvBytes(Uint32 h, const void *data, size_t n);

// Clock, timers, scroll, score, lives, flags, every pool slot's flag and its
// sprite's position, frame and animation state, and the ship's carried step.
Uint32 rulesHash();

// The pixels of a surface, row by row (padding left out, and in a 32-bit
// surface without alpha the byte no colour uses taken as 0); 0 without one.
Uint32 pixelHash(SDL_Surface *s);

#endif
