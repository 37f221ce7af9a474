// Display-format surfaces on SDL 1.2.
#include "platform/surface.h"

bool displayReady()
{
    return SDL_GetVideoSurface() != nullptr;
}

SDL_Surface *convertForDisplay(SDL_Surface *s)
{
    return s && displayReady() ? SDL_DisplayFormat(s) : nullptr;
}

SDL_Surface *convertForDisplayAlpha(SDL_Surface *s)
{
    return s && displayReady() ? SDL_DisplayFormatAlpha(s) : nullptr;
}

void setColorKey(SDL_Surface *s, Uint32 key)
{
    if (s)
        SDL_SetColorKey(s, SDL_SRCCOLORKEY, key);
}

bool getColorKey(SDL_Surface *s, Uint32 *key)
{
    if (!s || !(s->flags & SDL_SRCCOLORKEY))
        return false;
    *key = s->format->colorkey;
    return true;
}

bool blendsPixelAlpha(const SDL_Surface *s)
{
    return s && (s->flags & SDL_SRCALPHA) && s->format->Amask;
}
