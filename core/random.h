// The game's random sequence: the numbers rand() would give after srand() with
// the same seed, but drawn from a state of the game's own. The music player
// draws from rand() on the mixer's thread while a module plays, which made
// the game's spawns depend on the music and its timing.
#ifndef CORE_RANDOM_H
#define CORE_RANDOM_H

void seedGameRand(unsigned int seed);
// 0 to RAND_MAX.
int gameRand();

// The same numbers as glibc's rand(), computed by the game itself: what
// gameRand draws from where the C library's rand() gives others.
void seedOwnRand(unsigned int seed);
int ownRand();

#endif
