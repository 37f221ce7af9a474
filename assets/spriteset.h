// Sprite sets: the frames of one animated graphic, described by an "info" file.
#ifndef ASSETS_SPRITESET_H
#define ASSETS_SPRITESET_H

#include <SDL/SDL.h>

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

// The most frames a set may announce; more is taken as a broken file.
const int maxSpriteFrames = 1024;

// Fills set from dir/info and its frame bitmaps. 0 on success, -1 on failure.
int loadSpriteSet(SpriteSet *set, const char *dir);

// Releases the frames and their surfaces and zeroes the set.
void freeSpriteSet(SpriteSet *set);

#endif
