// The Sprite: every moving thing on screen. A float position, the current
// frame of a borrowed SpriteSet, a real-time frame timer and its target.
#ifndef OBJECTS_SPRITE_H
#define OBJECTS_SPRITE_H

#include <SDL.h>
#include "assets/spriteset.h"

class Sprite {
public:
    int init(SpriteSet *set, SDL_Surface *target);
    void draw();
    void saveBackground();
    void restoreBackground();
    // Frees the background buffer; the game keeps it for the whole run.
    void releaseBackground();

    float getX() const { return x; }
    float getY() const { return y; }
    void setX(float v) { x = v; }
    void setY(float v) { y = v; }
    void addX(float v) { x += v; }
    void addY(float v) { y += v; }
    void setPos(float nx, float ny) { x = nx; y = ny; }
    void setFrame(int f) { frame = f; }
    int getFrame() const { return frame; }
    void setDelayFactor(float f) { delayFactor = f; }
    float getDelayFactor() const { return delayFactor; }
    void startAnim() { animating = 1; }
    void stopAnim() { animating = 0; }
    int isAnimating() const { return animating; }
    // Size of frame 0 of the set; 0 when the set has no usable frame.
    int getW() const { return hasFrames() && set->frames[0].surface ? set->frames[0].surface->w : 0; }
    int getH() const { return hasFrames() && set->frames[0].surface ? set->frames[0].surface->h : 0; }

    // Read-only views for the renderer and the tests.
    Uint32 getLastFrameTicks() const { return lastFrameTicks; }
    void setLastFrameTicks(Uint32 t) { lastFrameTicks = t; }
    int wasDrawn() const { return drawn; }
    SpriteSet *getSet() const { return set; }

private:
    bool hasFrames() const { return set && set->loaded && set->frameCount > 0 && set->frames; }

    int frame = 0;
    float x = 0.0f;
    float y = 0.0f;
    float savedX = 0.0f;
    float savedY = 0.0f;
    int animating = 0;
    int drawn = 0;
    float delayFactor = 0.0f;
    Uint32 lastFrameTicks = 0;   // tick reading at the last frame step
    SpriteSet *set = nullptr;
    SDL_Surface *background = nullptr;
    SDL_Surface *target = nullptr;
};

#endif
