// Live input on SDL 2: the event queue, the keyboard state and the window's
// focus. Keys are looked up by the key they produce, as SDL 1.2 does, so the
// debug letters follow the keyboard layout there and here alike.
#include "platform/input.h"

#include "platform/signals.h"
#include "platform/display.h"
#include "platform/keymap.h"
#include "platform/sdl2/gamepad.h"
#include "platform/padbuttons.h"

int focusPauses = 1;

// F11 and Alt+Enter switch between window and full screen; Enter with Alt
// is that switch only, never a restart.
static bool presentationKey(const SDL_Keysym &key)
{
    return key.sym == SDLK_F11 || (key.sym == SDLK_RETURN && (key.mod & KMOD_ALT));
}

// Losing the input focus, or the window being minimised, pauses the game.
static bool focusLost(const SDL_Event &event)
{
    return event.type == SDL_WINDOWEVENT
           && (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST
               || event.window.event == SDL_WINDOWEVENT_MINIMIZED);
}

static void pollEvents(PassInput *in)
{
    SDL_Event event;
    // A full record leaves what is still queued for the next pass, so no
    // event is ever lost.
    while (in->eventCount < maxPassEvents && SDL_PollEvent(&event)) {
        // SDL 2 repeats a held key's key-down; the game acts once per press.
        bool press = event.type == SDL_KEYDOWN && !event.key.repeat;
        if (event.type == SDL_QUIT)
            addPassEvent(in, passQuit);
        else if (press && presentationKey(event.key.keysym))
            toggleFullScreen();
        else if (press && keyEvent(event.key.keysym.sym))
            addPassEvent(in, keyEvent(event.key.keysym.sym));
        else if (focusLost(event) && focusPauses)
            addPassEvent(in, passFocusPause);
        else
            gamepadEvent(in, event);
    }
}

static Uint16 heldKeys()
{
    const Uint8 *keys = SDL_GetKeyboardState(NULL);
    Uint16 held = 0;
    for (int i = 0; i < heldKeyMapCount; i++) {
        SDL_Scancode code = SDL_GetScancodeFromKey(heldKeyMap[i].sym);
        if (code != SDL_SCANCODE_UNKNOWN && keys[code])
            held |= heldKeyMap[i].bit;
    }
    return held;
}

void readLiveInput(PassInput *in, Uint32 ticks)
{
    in->ticks = ticks;
    in->eventCount = 0;
    pollEvents(in);
    // A quit signal quits like the close request; the flag stays set, so a
    // full record hands it to the next pass.
    if (quitSignalled || backHoldQuits(gamepadBackHeld(), ticks))
        addPassEvent(in, passQuit);
    // After the poll, so that the key state includes the events just read.
    in->held = heldKeys() | gamepadHeld();
}

bool quitRequested()
{
    SDL_Event event;
    bool stop = false;
    while (SDL_PollEvent(&event))
        if (event.type == SDL_QUIT || (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE))
            stop = true;
    return stop || quitSignalled;
}
