#include "game/startup.h"

#include <atomic>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <sys/stat.h>
#include "world/world.h"
#include "game/highscore.h"
#include "core/random.h"
#include "assets/bitmap.h"
#include "render/blit.h"
#include "platform/display.h"
#include "platform/surface.h"
#include "platform/sound.h"
#include "game/options.h"
#include "platform/input.h"

int audioOpen;
int bestScoreKept = 1;
int timedRun;
unsigned int randomSeed;
int randomSeedFixed;

void startSystems()
{
    // Before SDL starts: without a display it would fall back to a text-mode
    // driver that takes over the terminal.
    const char *noDisplay = displayMissing();
    if (noDisplay) {
        fprintf(stderr, "driftwing: %s\n", noDisplay);
        exit(1);
    }
    if (bestScoreKept)
        readHighScore();
    if (!randomSeedFixed)
        randomSeed = (unsigned int)time(NULL);
    seedGameRand(randomSeed);

    if (options.vsync && !requestVsync())
        fprintf(stderr, "driftwing: --vsync: this SDL library cannot wait for the display;"
                " frames are shown as they are drawn\n");

    if (!startSystem()) {
        printf("driftwing: Unable to init SDL: %s\n", SDL_GetError());
        exit(1);
    }

    // Sound starts on its own, so that a missing or broken sound device
    // never stops play; without sound the audio system is not even started,
    // so a machine without a sound card prints nothing about it.
    audioOpen = 0;
    if (options.sound) {
        if (startSound())
            audioOpen = 1;
        else
            printf("driftwing: Warning: Couldn't set 44100 Hz 16-bit audio\n"
                   "driftwing: - Reason: %s; playing without sound (--nosound starts without it)\n",
                   SDL_GetError());
    }

    int scale = displayScale();
    screen = openDisplay(scale, options.fullscreen);
    if (!screen) {
        printf("driftwing: Unable to set %dx%d video: %s\n", gameWidth * scale, gameHeight * scale,
               SDL_GetError());
        exit(1);
    }
    focusPauses = options.autopause;
    openGamepad();
}

// --scale auto: the largest factor that fits the desktop, which SDL reports
// before the first mode is set. A window leaves room for its frame and the
// desktop's panels.
static int autoScale()
{
    int w, h;
    if (!desktopSize(&w, &h))
        return 1;
    int margin = options.fullscreen ? 0 : 80;
    return fitScale(w, h - margin, maxScale);
}

// --scale N: as asked where the picture fits (a window the desktop, full
// screen one of its modes), else the largest scale that does, said in one
// line.
int displayScale()
{
    if (options.scaleAuto)
        return autoScale();
    int w, h;
    int scale = fittingScale(options.scale, options.fullscreen, &w, &h);
    if (scale < options.scale)
        fprintf(stderr, "driftwing: --scale %d (%dx%d) does not fit the %dx%d %s; using --scale %d\n",
                options.scale, gameWidth * options.scale, gameHeight * options.scale, w, h,
                options.fullscreen ? "screen" : "desktop", scale);
    return scale;
}

static void reportMissing(const char *path)
{
    printf("Could not load %s; going on without it\n", path);
}

static SDL_Surface *picture(const char *path)
{
    SDL_Surface *s = loadBitmap(path);
    if (!s)
        reportMissing(path);
    return s;
}

// The game-over picture keeps its file's pixel format.
static SDL_Surface *rawPicture(const char *path)
{
    SDL_Surface *s = decodeBitmap(SDL_RWFromFile(path, "rb"));
    if (!s)
        reportMissing(path);
    return s;
}

// Sound needs an open mixer: without one the slots stay empty and the game
// runs silent, as the warning at start-up said.
static Mix_Music *musicFile(const char *path)
{
    if (!audioOpen)
        return nullptr;
    // Only a file is handed to the mixer: SDL2_mixer (2.6) crashes on a
    // folder given as music.
    struct stat st;
    if (stat(path, &st) != 0 || !S_ISREG(st.st_mode)) {
        reportMissing(path);
        return nullptr;
    }
    Mix_Music *m = Mix_LoadMUS(path);
    if (!m)
        reportMissing(path);
    return m;
}

static Mix_Chunk *soundFile(const char *path)
{
    if (!audioOpen)
        return nullptr;
    Mix_Chunk *c = Mix_LoadWAV_RW(SDL_RWFromFile(path, "rb"), 1);
    if (!c)
        reportMissing(path);
    return c;
}

// One line per set problem: the loader itself names a missing info file; a
// set left without frames is missing; a set that lost some frames goes on
// with the ones before the first that failed.
static void spriteSet(SpriteSet *set, const char *dir)
{
    loadSpriteSet(set, dir);
    const SpriteSetTrouble &t = spriteSetTrouble;
    if (t.infoMissing)
        return;
    if (set->frameCount == 0)
        reportMissing(dir);
    else if (t.failedFrame)
        printf("Could not load frame %d (%s) of %s; the frames from it on are left out"
               " and the set goes on with the %d that loaded\n",
               t.failedFrame, t.failedName, dir, set->frameCount);
}

static BitmapFont *font(const char *dir, float r, float g, float b)
{
    BitmapFont *f = loadFont(dir, r, g, b);
    if (!f)
        reportMissing(dir);
    else if (fontRawMissing > 0)
        printf("driftwing: %s/font.raw is %ld bytes short; its missing glyphs show as solid bars\n",
               dir, fontRawMissing);
    return f;
}

static void setKey(SDL_Surface *s, Uint8 r, Uint8 g, Uint8 b)
{
    if (s)
        setColorKey(s, SDL_MapRGB(s->format, r, g, b));
}

void bindSprites()
{
    for (int i = 0; i < maxBullets; i++)
        bullets[i].init(&bulletSet, screen);
    for (int i = 0; i < maxEnemies; i++)
        enemies[i].init(&enemySet, screen);
    for (int i = 0; i < maxClouds; i++)
        clouds[i].init(&cloudSet, screen);
    player.init(&shipSet, screen);
}

void loadAssets()
{
    titleImage = picture("data/title.bmp");
    music = musicFile("data/sound/tnt22.it");
    shotSound = soundFile("data/sound/shot.wav");
    explodeSound = soundFile("data/sound/explode.wav");
    repeatImage = picture("data/repeat.bmp");
    frontImage = picture("data/front.bmp");
    logoImage = picture("data/logo.bmp");
    smallShipImage = picture("data/smallship.bmp");
    gameOverImage = rawPicture("data/gameover.bmp");

    setKey(gameOverImage, 0, 255, 0);
    setKey(frontImage, 255, 255, 255);

    spriteSet(&shipSet, "data/ship");
    spriteSet(&bulletSet, "data/bullet");
    spriteSet(&enemySet, "data/enemy");
    spriteSet(&cloudSet, "Data/cloud");

    bindSprites();

    player.setPos(50.0f, 220.0f);
    player.setDelayFactor(1.0f);

    hideCursor();

    tintedFont = font("data/font", 1.0f, 1.0f, 0.0f);
    bigFont = font("data/bigfont", 1.0f, 1.0f, 1.0f);
}

void drawLoadingScreen()
{
    blitAt(titleImage, 0, 0, screen);
    drawText(screen, tintedFont, 36, 36, "LOADING");
    presentFrame();
}

void showLoadingScreen()
{
    drawLoadingScreen();
    // A timed run waits for nothing.
    if (!timedRun)
        SDL_Delay(loadingScreenMs);
}

// Set while the best score is being written: the save at shutdown and the
// last wish of a second quit signal never write it both at once.
static std::atomic<bool> bestScoreBusy;

void saveBestScore()
{
    if (!bestScoreKept || bestScoreBusy.exchange(true))
        return;
    saveRunBest();
    bestScoreBusy = false;
}

void saveBestScoreAtOnce()
{
    // The main thread may be stuck anywhere, or be writing the file itself:
    // then it is left alone, and the flag stays set as the process ends.
    // Only the best the main loop published is read.
    if (bestScoreKept && !bestScoreBusy.exchange(true))
        saveRunBestAtOnce();
}

// Whether any sound is still to be heard.
static bool soundPlaying()
{
    return audioOpen && (Mix_Playing(-1) > 0 || Mix_PlayingMusic());
}

bool beginShutdown()
{
    saveBestScore();
    // The fade is waited for only where there is something to hear.
    if (!soundPlaying())
        return false;
    Mix_FadeOutChannel(-1, fadeOutMs);
    Mix_FadeOutMusic(fadeOutMs);
    return !timedRun;
}

void shutdownGame()
{
    if (beginShutdown())
        SDL_Delay(fadeOutMs);
    finishShutdown();
}

void finishShutdown()
{
    Mix_FreeMusic(music);
    Mix_FreeChunk(shotSound);
    Mix_FreeChunk(explodeSound);
    closeHighScore();
}
