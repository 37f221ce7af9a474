// The display: starting the system, the video mode, the window's title and
// icon, and the step that shows a finished frame. The game always draws into
// one 640 x 480 32-bit surface that openDisplay hands back; that surface never
// changes during a run, so the sprites that target it stay valid across a
// switch between window and full screen. How the picture reaches the screen
// (a flip, a scaled copy, a texture) is this layer's business.
#ifndef PLATFORM_DISPLAY_H
#define PLATFORM_DISPLAY_H

#include <SDL.h>

const int gameWidth = 640;
const int gameHeight = 480;

extern int presentScale;            // 1 to 4
extern int presentFullscreen;       // the current mode is full screen

// Before startSystem: why there is no graphical display to start, as one
// line ("no graphical display: DISPLAY is not set"), or null. Without one,
// SDL 1.2 falls back to a text-mode driver that takes over the terminal,
// and one on SDL 2 to a picture nobody sees.
const char *displayMissing();

// The rule of displayMissing for given values of SDL_VIDEODRIVER, DISPLAY and
// WAYLAND_DISPLAY (null or empty when not set): a driver the player names is
// theirs to choose, whatever it is; else X needs DISPLAY, and Wayland's
// WAYLAND_DISPLAY is enough where the library has a Wayland driver.
const char *displayMissingFor(const char *videoDriver, const char *display,
                              const char *waylandDisplay, bool libraryHasWayland);

// Starts video and the joystick; sound starts apart (platform/sound.h), so
// that it can never stop the game. False (with the reason left in
// SDL_GetError) when the system cannot start, or when SDL found no display
// and fell back to a driver that shows no window (a text-mode one, or SDL 2's
// off-screen one) the player did not choose. Shutting down is registered
// with atexit.
bool startSystem();

// Asks for frames paced to the display's refresh; before openDisplay, and on
// SDL 1.2 before startSystem. False when this library cannot do it, and the
// frames are then shown as fast as they are drawn.
bool requestVsync();

// The desktop's size as it was when the system started; false when unknown.
bool desktopSize(int *w, int *h);

// The largest whole factor (1 to maxFactor) whose 640N x 480N picture fits
// in a w x h desktop; at least 1.
int fitScale(int w, int h, int maxFactor);

// The same among the sizes of a null-terminated list of modes: the largest
// factor whose picture fits one of them, and in *room (when not null) the
// first mode that holds it. 1 and *room untouched when none holds even the
// 640 x 480 picture.
int fitScaleInModes(SDL_Rect *const *modes, int maxFactor, SDL_Rect *room);

// The largest factor from 1 to wanted whose picture fits: in a window, the
// desktop as it was when the system started; in full screen, a full-screen
// mode. *roomW x *roomH gets the size it was measured against; where the
// platform does not know one (any size goes, or none is reported), wanted
// itself and 0 x 0.
int fittingScale(int wanted, bool fullscreen, int *roomW, int *roomH);

// Sets the window's title and icon and the video mode for the given scale
// and full-screen choice. Returns the surface the game draws into, or null
// (with the reason left in SDL_GetError) when no mode could be set.
SDL_Surface *openDisplay(int scale, bool fullscreen);

// Hides the mouse pointer over the game.
void hideCursor();

// Copies src (32-bit) into dst (32-bit, the same pixel layout) with every
// pixel repeated n x n times, the picture centred when dst is larger. Both
// surfaces must be locked or need no lock. Allocates nothing.
void scaleCopy(SDL_Surface *src, SDL_Surface *dst, int n);

// Shows the finished frame of the surface openDisplay returned.
void presentFrame();

// Switches between a window and full screen at the same scale, or at the
// largest that fits the other mode when that one does not (said once, in one
// line on standard error). Returns false and keeps the current mode when the
// switch is not possible.
bool toggleFullScreen();

#endif
