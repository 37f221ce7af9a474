// Start-up and shutdown, in the fixed order main runs them.
#ifndef GAME_STARTUP_H
#define GAME_STARTUP_H

// Reads the best score, seeds rand, starts SDL, the mixer and the display.
// Exits with status 1 when there is no graphical display to start, or when
// SDL or the display mode cannot be started.
void startSystems();
// The display scale the options ask for, or the largest that fits when the
// asked one does not (said in one line on standard error); --scale auto
// measures the desktop. SDL's video must be started.
int displayScale();
// Loads every asset into its slot, binds the sprites and places the ship.
// Prints one line for each asset that did not load; the game goes on.
void loadAssets();
// Binds every sprite of the pools to its set and the screen: bullets,
// enemies, clouds, then the player.
void bindSprites();
// How long the loading screen is held and the sound fades out at exit.
const unsigned loadingScreenMs = 3000;
const unsigned fadeOutMs = 1000;

// The title picture with "LOADING", held for three seconds.
void showLoadingScreen();
// The loading screen drawn and shown, without the wait.
void drawLoadingScreen();
// Saves the run's best when the file does not hold it yet, fades out the
// sound that is still playing, waiting a second for it to be heard, and
// frees it.
void shutdownGame();
// shutdownGame in two steps, for a loop that cannot wait: the save and the
// start of the fade, true when the fade is to be waited for; then, after
// it, freeing the sound.
bool beginShutdown();
void finishShutdown();
// Saves the best of the run when the file does not hold it yet (see
// saveRunBest); never while another save is under way.
void saveBestScore();
// The last wish of a second quit signal, run on another thread while the
// main thread may be stuck: saves a beaten best score unless the main thread
// is writing it already.
void saveBestScoreAtOnce();

// The seed of the game's random sequence. Start-up takes the time unless a demo fixed it first.
extern unsigned int randomSeed;
extern int randomSeedFixed;

// What the demo modes change: playing a demo neither reads nor writes the
// best score (a demo must not depend on the player's file, and playing one
// must not change it; recording one keeps it as a plain game does), and a
// timed run waits for nothing.
extern int bestScoreKept;
extern int timedRun;

// Whether the mixer opened; without it no sound is loaded or played.
extern int audioOpen;

#endif
