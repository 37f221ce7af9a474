// A display that goes away under the game: an X server that is stopped, a
// session that is closed, a forwarded connection that drops. The X client
// library then calls its I/O error handler and, should that return, ends the
// process with exit(), whose handlers shut SDL down over the dead connection
// and may wait on it for good.
#ifndef PLATFORM_DISPLAYLOST_H
#define PLATFORM_DISPLAYLOST_H

// Takes over the X client library's I/O error handler, once the display is
// open. When the connection is lost, lastWish runs on the thread that found
// it (usually the main thread, inside an event or drawing call), then one
// line is said on standard error and the process ends at once with status 1,
// running no exit handlers. The library is looked up where SDL already
// loaded it, never loaded by the game itself: false when the display is not
// X (Wayland, the dummy driver) and nothing was taken over.
bool whenDisplayLost(void (*lastWish)());

#endif
