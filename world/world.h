// The whole game state: clock and timers, rules state, the sprite pools with
// their per-slot arrays, and the loaded assets. Every global is declared here
// once and defined in world.cpp.
#ifndef WORLD_WORLD_H
#define WORLD_WORLD_H

#include <stdint.h>
#include <SDL.h>
#include <SDL_mixer.h>
#include "assets/spriteset.h"
#include "assets/font.h"
#include "objects/sprite.h"

const int maxBullets = 50;
const int maxEnemies = 50;
const int maxClouds = 3;

// Clock and timers. The world clock is a double and the stamps are 64-bit so
// that they stay exact however long a run lasts.
extern double distance;         // milliseconds of unpaused play
extern float frameStep;         // elapsed time of this pass in units of 10 ms
extern Uint32 lastTicks;        // tick reading of the previous pass
extern Uint32 nowTicks;         // tick reading of this pass
extern uint64_t lastHitAt;      // whole ms of distance at the last respawn or restart
extern uint64_t lastSpawnAt;    // whole ms of distance at the last spawn
extern float scrollX;           // far backdrop scroll, kept in [0, 3909)
extern float frontScrollX;      // front layer scroll, moves faster, same range

// Rules state.
extern int score;
extern int highScore;
extern int lives;
extern int gameOver;
extern int paused;
extern int godMode;

// Pools: a slot is in play while its flag is exactly 1.
extern Sprite player;
extern Sprite bullets[maxBullets];
extern int bulletActive[maxBullets];
extern Sprite enemies[maxEnemies];
extern int enemyActive[maxEnemies];
extern int enemySpeed[maxEnemies];
extern int enemyHealth[maxEnemies];
extern int enemyWave[maxEnemies];
extern Sprite clouds[maxClouds];
extern int cloudActive[maxClouds];
extern int cloudSpeed[maxClouds];

// Assets, filled once at start-up.
extern SDL_Surface *screen;
extern SDL_Surface *titleImage;
extern SDL_Surface *frontImage;
extern SDL_Surface *repeatImage;
extern SDL_Surface *logoImage;
extern SDL_Surface *smallShipImage;
extern SDL_Surface *gameOverImage;
extern SpriteSet shipSet;
extern SpriteSet bulletSet;
extern SpriteSet enemySet;
extern SpriteSet cloudSet;
extern BitmapFont *tintedFont;
extern BitmapFont *bigFont;
extern Mix_Music *music;
extern Mix_Chunk *shotSound;
extern Mix_Chunk *explodeSound;

// Whole milliseconds of the world clock, as stored in the timer stamps.
inline uint64_t clockStamp() { return (uint64_t)distance; }

// Adds points to score, saturating at the largest int instead of wrapping.
void addScore(int points);

// Takes a life unless in god mode; true when that ended the game.
bool loseLife();
// Puts the ship back at (10, 245), invulnerable and blinking.
void respawnPlayer();
// A score above the best becomes the best; true when it did.
bool raiseHighScore();
// A new game after game over: the score of the game that ended kept as the
// best when it beat it, pools cleared, ship at its start, 5 lives.
void restartGame();

#endif
