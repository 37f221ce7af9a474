#include "world/world.h"

#include <limits.h>

double distance = 0.0;
float frameStep = 0.0f;
Uint32 lastTicks = 0;
Uint32 nowTicks = 0;
uint64_t lastHitAt = 0;
uint64_t lastSpawnAt = 0;
float scrollX = 0.0f;
float frontScrollX = 0.0f;

int score = 0;
int highScore = 0;
int lives = 5;
int gameOver = 0;
int paused = 0;
int godMode = 0;

Sprite player;
Sprite bullets[maxBullets];
int bulletActive[maxBullets];
Sprite enemies[maxEnemies];
int enemyActive[maxEnemies];
int enemySpeed[maxEnemies];
int enemyHealth[maxEnemies];
int enemyWave[maxEnemies];
Sprite clouds[maxClouds];
int cloudActive[maxClouds];
int cloudSpeed[maxClouds];

SDL_Surface *screen;
SDL_Surface *titleImage;
SDL_Surface *frontImage;
SDL_Surface *repeatImage;
SDL_Surface *logoImage;
SDL_Surface *smallShipImage;
SDL_Surface *gameOverImage;
SpriteSet shipSet;
SpriteSet bulletSet;
SpriteSet enemySet;
SpriteSet cloudSet;
BitmapFont *tintedFont;
BitmapFont *bigFont;
Mix_Music *music;
Mix_Chunk *shotSound;
Mix_Chunk *explodeSound;

void addScore(int points)
{
    if (points > 0 && score > INT_MAX - points)
        score = INT_MAX;
    else
        score += points;
}

bool loseLife()
{
    if (godMode == 1)
        return false;
    lives--;
    if (lives < 0) {
        gameOver = 1;
        return true;
    }
    return false;
}

void respawnPlayer()
{
    player.setPos(10.0f, 245.0f);
    player.setDelayFactor(1.0f);
    player.startAnim();
    lastHitAt = clockStamp();
}

bool raiseHighScore()
{
    if (score <= highScore)
        return false;
    highScore = score;
    return true;
}

void restartGame()
{
    raiseHighScore();
    for (int i = 0; i < maxEnemies; i++)
        enemyActive[i] = 0;
    for (int i = 0; i < maxBullets; i++)
        bulletActive[i] = 0;
    player.setPos(50.0f, 220.0f);
    player.setDelayFactor(1.0f);
    player.setFrame(0);
    player.startAnim();
    gameOver = 0;
    lives = 5;
    score = 0;
    lastHitAt = clockStamp();
}
