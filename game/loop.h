// The frame loop: one pass per displayed frame until the player quits.
#ifndef GAME_LOOP_H
#define GAME_LOOP_H

#include <SDL.h>
#include "core/passinput.h"

// Runs passes on live input until ESC or the window's close request. The
// demo modes run passes of their own through runPass.
void runFrameLoop();
// What runFrameLoop does before its first pass, for a loop that calls
// runFramePass itself.
void startFrameLoop();

// One pass on the given input: timing, events, held keys, music, world
// update and drawing. Returns non-zero when the pass asked to quit.
int runPass(const PassInput &in);

// One pass on live input at the tick reading now. The loop calls it with the
// tick source's reading; tests call it directly.
int runFramePass(Uint32 now);

// The fractions of a pixel that the ship's up, down, left and right steps
// carry into the next pass (part of the rules state a demo checks).
void shipCarries(double out[4]);

#endif
