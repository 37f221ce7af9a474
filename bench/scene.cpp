#include "bench/scene.h"

#include <stdio.h>
#include <stdlib.h>
#include "world/world.h"
#include "game/startup.h"
#include "platform/display.h"
#include "platform/surface.h"

static Uint32 rgb(SDL_Surface *s, int r, int g, int b) { return SDL_MapRGB(s->format, r, g, b); }

static SDL_Surface *makePicture(int w, int h)
{
    SDL_PixelFormat *f = screen->format;
    return SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, f->Rmask, f->Gmask, f->Bmask, 0);
}

static void fill(SDL_Surface *s, int x, int y, int w, int h, Uint32 colour)
{
    SDL_Rect r = {(Sint16)x, (Sint16)y, (Uint16)w, (Uint16)h};
    SDL_FillRect(s, &r, colour);
}

// Far strip: vertical bands of changing colour, so blits copy real data.
static SDL_Surface *makeFarStrip()
{
    SDL_Surface *s = makePicture(3909, 400);
    for (int x = 0; x < s->w; x += 8)
        fill(s, x, 0, 8, s->h, rgb(s, x & 255, (x >> 4) & 255, 96));
    return s;
}

// Front strip: white (keyed) above, hills of solid colour in the lower part.
static SDL_Surface *makeFrontStrip()
{
    SDL_Surface *s = makePicture(3909, 400);
    Uint32 white = rgb(s, 255, 255, 255);
    SDL_FillRect(s, NULL, white);
    for (int x = 0; x < s->w; x += 4) {
        int top = 300 + (x * 7) % 80;
        fill(s, x, top, 4, s->h - top, rgb(s, 40, 90 + x % 60, 30));
    }
    setColorKey(s, white);
    return s;
}

static SDL_Surface *makeKeyed(int w, int h, Uint32 body, int kr, int kg, int kb)
{
    SDL_Surface *s = makePicture(w, h);
    Uint32 key = rgb(s, kr, kg, kb);
    SDL_FillRect(s, NULL, key);
    fill(s, w / 8, h / 8, w - w / 4, h - h / 4, body);
    setColorKey(s, key);
    return s;
}

// A 256-pixel sheet of 16-pixel cells whose glyphs have soft edges, drawn
// with per-pixel alpha as the game's fonts are.
static BitmapFont *makeFont(int r, int g, int b)
{
    SDL_Surface *raw = SDL_CreateRGBSurface(SDL_SWSURFACE, 256, 256, 32,
                                            0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000);
    SDL_LockSurface(raw);
    for (int y = 0; y < 256; y++) {
        Uint32 *row = (Uint32 *)((Uint8 *)raw->pixels + y * raw->pitch);
        for (int x = 0; x < 256; x++) {
            int cx = x % 16, cy = y % 16;
            int inside = cx >= 4 && cx < 12 && cy >= 2 && cy < 14;
            int alpha = inside ? ((cx + cy) % 3 == 0 ? 255 : 128) : 0;
            row[x] = SDL_MapRGBA(raw->format, r, g, b, alpha);
        }
    }
    SDL_UnlockSurface(raw);
    BitmapFont *font = new BitmapFont();
    font->sheet = convertForDisplayAlpha(raw);
    SDL_FreeSurface(raw);
    font->sheetSize = 256;
    font->cellSize = 16;
    font->advances = new int[256];
    for (int i = 0; i < 256; i++)
        font->advances[i] = 10;
    font->pixelBuffer = nullptr;
    return font;
}

static void makeSet(SpriteSet *set, int frames, int w, int h, int r, int g, int b)
{
    set->frames = new SpriteFrame[frames];
    for (int f = 0; f < frames; f++) {
        SDL_Surface *s = makePicture(w, h);
        set->frames[f].surface = makeKeyed(w, h, rgb(s, r, g, (b + 60 * f) & 255), 255, 0, 255);
        set->frames[f].delay = 100;
        SDL_FreeSurface(s);
    }
    set->loaded = 1;
    set->frameCount = frames;
    set->frameWidth = w;
    set->frameHeight = h;
}

static void buildAssets()
{
    repeatImage = makeFarStrip();
    frontImage = makeFrontStrip();
    logoImage = makePicture(240, 36);
    SDL_FillRect(logoImage, NULL, rgb(logoImage, 200, 200, 40));
    smallShipImage = makeKeyed(24, 16, rgb(screen, 80, 160, 255), 255, 0, 255);
    gameOverImage = makeKeyed(256, 80, rgb(screen, 255, 40, 40), 0, 255, 0);
    tintedFont = makeFont(255, 255, 0);
    bigFont = makeFont(255, 255, 255);
    makeSet(&shipSet, 2, 48, 24, 90, 140, 220);
    makeSet(&bulletSet, 1, 12, 4, 255, 255, 120);
    makeSet(&enemySet, 2, 40, 30, 220, 60, 40);
    makeSet(&cloudSet, 1, 160, 80, 230, 230, 240);
    bindSprites();
}

bool openBenchScene()
{
    if (screen)
        return true;
    // Benchmarks always run on the dummy drivers, also on a machine with a
    // display: the numbers then measure the game's own drawing only.
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (SDL_Init(SDL_INIT_VIDEO) < 0) {
        printf("SDL_Init: %s\n", SDL_GetError());
        return false;
    }
    screen = openDisplay(1, true);
    if (!screen) {
        printf("openDisplay: %s\n", SDL_GetError());
        return false;
    }
    buildAssets();
    return true;
}

void fillPools()
{
    // Bullets in five rows, enemies in a 10 x 5 grid ahead of them; some
    // bullets already overlap enemies.
    for (int i = 0; i < maxBullets; i++) {
        bulletActive[i] = 1;
        bullets[i].setPos(60.0f + 11.0f * i, 80.0f + 75.0f * (i % 5));
    }
    for (int j = 0; j < maxEnemies; j++) {
        enemyActive[j] = 1;
        enemySpeed[j] = 1 + j % 4;
        enemyHealth[j] = 3;
        enemyWave[j] = j % 3 == 0 ? 30 + j : 0;
        enemies[j].setPos(150.0f + 45.0f * (j % 10), 70.0f + 75.0f * (j / 10));
        enemies[j].setFrame(j % 2);
    }
    for (int c = 0; c < maxClouds; c++) {
        cloudActive[c] = 1;
        clouds[c].setPos(60.0f + 200.0f * c, 90.0f + 100.0f * c);
    }
    player.setPos(10.0f, 245.0f);
    player.setDelayFactor(0.0f);
    player.stopAnim();
    player.setFrame(0);
    score = 0;
    highScore = 500;
    lives = 5;
    gameOver = paused = godMode = 0;
    frameStep = 1.6f;   // a 16 ms pass
    distance = 1000.0;
    lastHitAt = 0;
    lastSpawnAt = 1000;
    scrollX = 1200.0f;
    frontScrollX = 2400.0f;
}
