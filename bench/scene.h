// A game scene for the benchmarks: SDL on its dummy video driver, pictures,
// fonts and sprite sets of the game's sizes made in memory, and every pool
// filled.
#ifndef BENCH_SCENE_H
#define BENCH_SCENE_H

// Sets the dummy drivers (so no display is needed and the numbers do not
// depend on one), starts SDL video, sets the 640x480x32 mode and builds the
// assets. Safe to call more than once; false when SDL could not start.
bool openBenchScene();

// Puts 50 bullets, 50 enemies and 3 clouds in play over the band, the ship
// hittable at its respawn place, and resets the rules state.
void fillPools();

#endif
