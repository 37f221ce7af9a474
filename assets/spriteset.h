// Sprite sets: the frames of one animated graphic, described by an "info" file.
#ifndef ASSETS_SPRITESET_H
#define ASSETS_SPRITESET_H

#include <SDL.h>

struct SpriteFrame {
    SDL_Surface *surface;   // display format, with the frame's colour key
    int delay;              // milliseconds on screen, scaled by the sprite
};

struct SpriteSet {
    SpriteFrame *frames;    // frameCount entries, every one with a surface
    int loaded;             // 1 once the info file's FILES line was read
    int frameCount;         // frames actually loaded
    int frameWidth;         // size of the first frame loaded
    int frameHeight;
};

// The most frames a set holds; a file that announces more loads at most
// this many of the frames it lists.
const int maxSpriteFrames = 1024;

// What the last loadSpriteSet could not read, so that start-up can name each
// problem once: a missing info file (the loader has said so), or the first
// frame bitmap that failed (0 when none did).
struct SpriteSetTrouble {
    int infoMissing;
    int failedFrame;        // 1-based number of the frame line that failed
    char failedName[256];   // that frame's file name
};
extern SpriteSetTrouble spriteSetTrouble;

// Fills set from dir/info and its frame bitmaps. 0 on success, -1 on failure.
int loadSpriteSet(SpriteSet *set, const char *dir);

// Releases the frames and their surfaces and zeroes the set.
void freeSpriteSet(SpriteSet *set);

#endif
