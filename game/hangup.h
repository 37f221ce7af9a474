// A hang-up (the terminal or session that started the game went away) ends
// the game the way the window's close request does, so the best is saved.
#ifndef GAME_HANGUP_H
#define GAME_HANGUP_H

#include <signal.h>

// Set by the signal handler; the live input layer turns it into a quit.
extern volatile sig_atomic_t hangupRequested;

// Installs the SIGHUP handler.
void catchHangup();

#endif
