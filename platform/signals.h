// Signals. A hang-up (the terminal or session that started the game went
// away) ends the game the way the window's close request does, so the best
// is saved. A file-size limit must make a write fail, not kill the game.
#ifndef PLATFORM_SIGNALS_H
#define PLATFORM_SIGNALS_H

#include <signal.h>

// Set by the signal handler; the live input layer turns it into a quit.
extern volatile sig_atomic_t hangupRequested;

// Installs the SIGHUP handler.
void catchHangup();

// Ignores SIGXFSZ until the matching restore, so that a write past the
// file-size limit fails with EFBIG instead of ending the process.
void ignoreFileSizeSignal();
void restoreFileSizeSignal();

#endif
