// Signals. A hang-up (the terminal or session that started the game went
// away), an interrupt or a termination request ends the game the way the
// window's close request does, in every mode, so the best is saved. A
// file-size limit must make a write fail, not kill the game.
#ifndef PLATFORM_SIGNALS_H
#define PLATFORM_SIGNALS_H

#include <signal.h>

// Set by the signal handler; the live input layer turns it into a quit.
extern volatile sig_atomic_t hangupRequested;

// Installs the SIGHUP handler.
void catchHangup();

// Set by the handler of SIGINT and SIGTERM; like a hang-up, the live input
// layer turns it into a quit, and the demo modes stop on it.
extern volatile sig_atomic_t stopRequested;

// Installs the SIGINT and SIGTERM handler, for each that is not ignored
// (a game started with one ignored keeps it so).
void catchStopSignals();

// Ignores SIGXFSZ until the matching restore, so that a write past the
// file-size limit fails with EFBIG instead of ending the process.
void ignoreFileSizeSignal();
void restoreFileSizeSignal();

#endif
