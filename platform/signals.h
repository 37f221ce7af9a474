// Signals. A quit signal (SIGINT, SIGTERM, or SIGHUP when the terminal or
// session that started the game went away) ends the game the way the
// window's close request does, so the best is saved. A second one ends the
// process at once: the game may be stuck inside the library, waiting for a
// display it cannot have, where no request to quit is ever read. A file-size
// limit must make a write fail, not kill the game.
#ifndef PLATFORM_SIGNALS_H
#define PLATFORM_SIGNALS_H

#include <atomic>

// Set once the first quit signal came; the live input layer turns it into a
// quit.
extern std::atomic<int> quitSignalled;

// Takes the quit signals from here on, before the library starts (it would
// otherwise put handlers of its own in place) and before any other thread
// exists. At a second quit signal lastWish (if not null) runs on a thread of
// its own, while the main thread may be anywhere: it must be quick and must
// not wait for the main thread. One second later at most, the process ends
// by that signal.
void catchQuitSignals(void (*lastWish)());

// Ignores SIGXFSZ for the rest of the run, so that a write past the
// file-size limit fails with EFBIG, which the game reports, instead of
// ending the process without a word.
void ignoreFileSizeSignal();

#endif
