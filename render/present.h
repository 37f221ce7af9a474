// The display: the video mode, the window's title and icon, and the step that
// shows a finished frame. The game always draws into `screen`, 640 x 480.
// At scale 1 `screen` is the video surface itself and showing it is a flip;
// at scale N it is an off-screen surface of the same size whose pixels are
// copied N x N times onto the 640N x 480N video surface before the flip.
// `screen` never changes pointer during a run, so the sprites that target
// it stay valid across a switch between window and full screen.
#ifndef RENDER_PRESENT_H
#define RENDER_PRESENT_H

#include <SDL/SDL.h>

const int gameWidth = 640;
const int gameHeight = 480;

extern SDL_Surface *videoSurface;   // what SDL shows; == screen at scale 1
extern int presentScale;            // 1 to 4
extern int presentFullscreen;       // the current mode is full screen

// The largest whole factor (1 to maxFactor) whose 640N x 480N picture fits
// in a w x h desktop; at least 1.
int fitScale(int w, int h, int maxFactor);

// Sets the window's title and icon and the video mode for the given scale
// and full-screen choice, and points `screen` at what the game draws into.
// False (with SDL's reason left in SDL_GetError) when no mode could be set.
bool openDisplay(int scale, bool fullscreen);

// Copies src (32-bit) into dst (32-bit, the same pixel layout) with every
// pixel repeated n x n times, the picture centred when dst is larger. Both
// surfaces must be locked or need no lock. Allocates nothing.
void scaleCopy(SDL_Surface *src, SDL_Surface *dst, int n);

// Shows the finished frame of `screen`.
void presentFrame();

// Switches between a window and full screen at the same scale. Returns
// false and keeps the current mode when the switch is not possible.
bool toggleFullScreen();

#endif
