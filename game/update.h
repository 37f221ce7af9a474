#ifndef GAME_UPDATE_H
#define GAME_UPDATE_H

// One step of the rules: motion, hits, lives, timers and scrolling.
void updateWorld();

#endif
