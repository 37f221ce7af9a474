// Test input on SDL 1.2: the key state array is written directly, events are
// pushed on the queue, and the pad is joystick 0 as far as its events say.
#include "tests/testinput.h"

void holdKey(int sym, bool down)
{
    SDL_GetKeyState(NULL)[sym] = down ? 1 : 0;
}

void releaseAllKeys()
{
    Uint8 *keys = SDL_GetKeyState(NULL);
    for (int k = 0; k < SDLK_LAST; k++)
        keys[k] = 0;
}

void pushKeyDown(int sym, int mod)
{
    SDL_Event e = {};
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = (SDLKey)sym;
    e.key.keysym.mod = (SDLMod)mod;
    SDL_PushEvent(&e);
}

void pushFocus(bool gained)
{
    SDL_Event e = {};
    e.type = SDL_ACTIVEEVENT;
    e.active.gain = gained ? 1 : 0;
    e.active.state = SDL_APPINPUTFOCUS;
    SDL_PushEvent(&e);
}

// Joystick events need no device behind them.
bool attachTestPad() { return true; }
void detachTestPad() {}

// Pad events come from pad 0 (and hat 0), as the zeroed event says; button
// numbers are those of the layout a pad without a name gets (fire 0, Start
// 7, Back 6).
void padStick(int axis, int value)
{
    SDL_Event e = {};
    e.type = SDL_JOYAXISMOTION;
    e.jaxis.axis = (Uint8)axis;
    e.jaxis.value = (Sint16)value;
    SDL_PushEvent(&e);
}

void padDpad(Uint8 hat)
{
    SDL_Event e = {};
    e.type = SDL_JOYHATMOTION;
    e.jhat.value = hat;
    SDL_PushEvent(&e);
}

void pushPadButton(int button, bool down, int pad)
{
    SDL_Event e = {};
    e.type = down ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP;
    e.jbutton.which = (Uint8)pad;
    e.jbutton.button = (Uint8)button;
    SDL_PushEvent(&e);
}

void padButton(TestPadButton button)
{
    pushPadButton(button == testPadFire ? 0 : button == testPadStart ? 7 : 1, true);
}

void padBack(bool down)
{
    pushPadButton(6, down);
}

SDL_Surface *shownPicture()
{
    SDL_Surface *video = SDL_GetVideoSurface();
    if (!video)
        return nullptr;
    SDL_Surface *copy = SDL_CreateRGBSurface(SDL_SWSURFACE, video->w, video->h, 32,
                                             0xFF0000, 0xFF00, 0xFF, 0);
    if (copy)
        SDL_BlitSurface(video, NULL, copy, NULL);
    return copy;
}

SDL_version linkedSdlVersion()
{
    return *SDL_Linked_Version();
}

void setPixelAlphaBlend(SDL_Surface *s, bool on)
{
    SDL_SetAlpha(s, on ? SDL_SRCALPHA : 0, 255);
}

void setPaletteColour(SDL_Surface *s, int index, SDL_Color c)
{
    SDL_SetColors(s, &c, index, 1);
}
