// Inside the platform layer: what every display implementation shares about
// finding a display, so both libraries judge and report it alike.
#ifndef PLATFORM_DISPLAYENV_H
#define PLATFORM_DISPLAYENV_H

// Whether the video driver SDL picked (driverName) shows no picture in a
// window, and the player did not name it in SDL_VIDEODRIVER: a text-mode one
// (classic SDL 1.2) or SDL 2's off-screen one. The display the library was
// given could not be opened.
bool unseenFallback(const char *driverName);

// Leaves the reason there is no display in SDL_GetError, as one line.
void sayNoDisplay();

#endif
