// The far backdrop and the colour-keyed front layer. Each is a strip of
// stripPeriod columns that repeats endlessly; the band shows 640 columns of
// it starting at the layer's scroll position.
#include "render/backdrop.h"

#include "world/world.h"
#include "render/blit.h"

static const int windowWidth = 640;
// The last scroll position at which the 640-column window still fits in the
// strip; beyond it the window runs over the strip's end.
static const double wrapThreshold = stripPeriod - windowWidth;

// Draws the band from pic at scroll position scroll. Past the threshold the
// window is cut in two: the strip's end at the left of the band, its start
// right after it. The pieces meet exactly, so screen column c always shows
// strip column (trunc(scroll) + c) mod stripPeriod and no column is left out.
static void drawStrip(SDL_Surface *pic, float scroll)
{
    double s = scroll;
    int from = (int)s;  // truncation toward zero
    if (s <= wrapThreshold) {
        blitPart(pic, 0, bandTop, windowWidth, bandHeight, from, 0, screen);
        return;
    }
    int endWidth = stripPeriod - from;
    blitPart(pic, 0, bandTop, endWidth, bandHeight, from, 0, screen);
    blitPart(pic, endWidth, bandTop, windowWidth - endWidth, bandHeight, 0, 0, screen);
}

void drawBackdrop()
{
    drawStrip(repeatImage, scrollX);
}

// The front picture carries a white colour key, so only its non-white pixels
// cover the far layer and the sprites. It follows its own, faster scroll.
void drawFrontLayer()
{
    drawStrip(frontImage, frontScrollX);
}
