#include "objects/sprite.h"

#include "assets/blend.h"
#include "core/ticks.h"
#include "platform/surface.h"

// A float position becomes a pixel coordinate by truncation toward zero
// (12.9 -> 12, -0.7 -> 0, -1.5 -> -1). Positions far outside the 16-bit
// range of an SDL_Rect are clamped rather than wrapped, so a sprite that has
// wandered far off screen never reappears on it.
static Sint16 screenCoord(float v)
{
    if (v >= 32767.0f)
        return 32767;
    if (!(v > -32768.0f))   // also a NaN
        return -32768;
    return (Sint16)(int)v;
}

int Sprite::init(SpriteSet *newSet, SDL_Surface *newTarget)
{
    set = newSet;
    if (set && set->loaded) {
        if (set->frameCount > 1)
            animating = 1;
        // The background buffer is a copy of frame 0, so it has frame 0's
        // size and the display's pixel format. A set without a usable
        // frame 0 gets none, and so does a sprite bound before the video
        // mode is set (there is no display format yet); save and restore
        // then blit nothing.
        if (hasFrames() && set->frames[0].surface)
            background = convertForDisplay(set->frames[0].surface);
    }
    target = newTarget;
    return 0;
}

void Sprite::draw()
{
    // A frame index that names no entry of the set (after setFrame with a
    // bad value) draws nothing and stays as it is, like an unloaded set.
    bool usable = hasFrames() && frame >= 0 && frame < set->frameCount;

    // Step to the next frame once this one's display time, scaled by
    // delayFactor, has run out on the real-time clock: at most one step per
    // draw however late it comes. The time since the last step is the
    // unsigned 32-bit difference, exact across the clock's wrap after
    // 49.7 days. The stamp is a fresh reading.
    if (usable && animating == 1) {
        double delay = (double)set->frames[frame].delay * (double)delayFactor;
        Uint32 since = (Uint32)(readTicks() - lastFrameTicks);
        if ((double)since > delay) {
            frame++;
            if (frame > set->frameCount - 1)
                frame = 0;
            lastFrameTicks = readTicks();
        }
    }

    if (drawn == 0)
        drawn = 1;

    if (!usable || !set->frames[frame].surface || !target)
        return;
    blitSurface(set->frames[frame].surface, NULL, target, screenCoord(x), screenCoord(y));
}

void Sprite::saveBackground()
{
    SDL_Rect src;
    src.x = screenCoord(x);
    src.y = screenCoord(y);
    src.w = set ? (Uint16)set->frameWidth : 0;
    src.h = set ? (Uint16)set->frameHeight : 0;
    savedX = x;
    savedY = y;
    // A sprite without background or target copies nothing; SDL is never
    // handed a null surface.
    if (!background || !target)
        return;
    SDL_Rect dst = { 0, 0, 0, 0 };
    SDL_UpperBlit(target, &src, background, &dst);
}

void Sprite::restoreBackground()
{
    if (drawn != 1 || !background || !target)
        return;
    SDL_Rect dst;
    dst.x = screenCoord(savedX);
    dst.y = screenCoord(savedY);
    dst.w = set ? (Uint16)set->frameWidth : 0;
    dst.h = set ? (Uint16)set->frameHeight : 0;
    SDL_UpperBlit(background, NULL, target, &dst);
}

void Sprite::releaseBackground()
{
    if (background)
        SDL_FreeSurface(background);
    background = nullptr;
}
