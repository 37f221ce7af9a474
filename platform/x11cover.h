// Inside the platform layer: full screen on an X server that has no window
// manager (a kiosk, a cabinet, `xinit driftwing`). SDL 2, also beneath the
// SDL 2 based SDL 1.2 library, asks the window manager for full screen; with
// none there nothing moves or sizes the window, and the picture laid out for
// the whole screen shows cut or shifted. There the game places its window
// over the screen itself.
#ifndef PLATFORM_X11COVER_H
#define PLATFORM_X11COVER_H

// Puts the X window over the screen rectangle x, y, w x h, on top, when no
// window manager runs on that display; true when it did. display is the
// library's Xlib Display; nothing happens (false) where Xlib is not loaded in
// the process, as on Wayland.
bool coverWithoutWindowManager(void *display, unsigned long window, int x, int y, int w, int h);

#endif
