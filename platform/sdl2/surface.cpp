// Display-format surfaces on SDL 2: the display's format is that of the
// surface the game draws into. Converting keeps a colour key, as on SDL 1.2.
#include "platform/surface.h"
#include "platform/sdl2/frame.h"

#include <string.h>

bool displayReady()
{
    return frameSurface() != nullptr;
}

// SDL 2 keeps, for each surface, the one destination it last blitted to, and
// enters it in that destination's list: a small allocation each time the
// destination changes. A conversion leaves the source bound to its copy, so
// the first draw of each picture would allocate in the middle of play. One
// pixel blitted to the frame and put back binds it there now, at load time,
// and drawing then allocates nothing.
static void bindToFrame(SDL_Surface *s)
{
    SDL_Surface *frame = frameSurface();
    if (!s || !frame || s == frame || s->w < 1 || s->h < 1)
        return;
    Uint32 kept;
    memcpy(&kept, frame->pixels, sizeof kept);
    SDL_Rect src = { 0, 0, 1, 1 };
    SDL_Rect dst = { 0, 0, 1, 1 };
    SDL_BlitSurface(s, &src, frame, &dst);
    memcpy(frame->pixels, &kept, sizeof kept);
}

static SDL_Surface *converted(SDL_Surface *s, Uint32 format)
{
    if (!s || !displayReady())
        return nullptr;
    SDL_Surface *c = SDL_ConvertSurfaceFormat(s, format, 0);
    if (!c)
        return nullptr;
    if (SDL_ISPIXELFORMAT_ALPHA(format))
        SDL_SetSurfaceBlendMode(c, SDL_BLENDMODE_BLEND);
    bindToFrame(s);
    bindToFrame(c);
    return c;
}

SDL_Surface *convertForDisplay(SDL_Surface *s)
{
    return converted(s, framePixelFormat);
}

// The layout SDL 1.2 gives an alpha surface for this display: the frame's
// with alpha in the top byte. Per-pixel alpha blending is on from the start.
SDL_Surface *convertForDisplayAlpha(SDL_Surface *s)
{
    return converted(s, SDL_PIXELFORMAT_ARGB8888);
}

// Setting a key unbinds the surface's blits, so it is bound again.
void setColorKey(SDL_Surface *s, Uint32 key)
{
    if (!s)
        return;
    SDL_SetColorKey(s, SDL_TRUE, key);
    bindToFrame(s);
}

bool getColorKey(SDL_Surface *s, Uint32 *key)
{
    return s && SDL_GetColorKey(s, key) == 0;
}

bool blendsPixelAlpha(const SDL_Surface *s)
{
    SDL_BlendMode mode;
    return s && s->format->Amask
           && SDL_GetSurfaceBlendMode((SDL_Surface *)s, &mode) == 0 && mode == SDL_BLENDMODE_BLEND;
}
