// Live input on SDL 1.2: the event queue, key state and joystick.
#include "platform/input.h"

#include "platform/signals.h"
#include "platform/display.h"
#include "platform/keymap.h"
#include "platform/padbuttons.h"

#include <stdio.h>
#include <stdlib.h>

int focusPauses = 1;

// The gamepad's directions as held-key bits, kept from its events: the
// first two axes and the first hat, each on its own so that releasing one
// does not cancel the other.
static Uint16 axisXHeld, axisYHeld, hatHeld;
// The first pad's buttons by number, and whether its Back is held.
static PadButtons buttons = padButtonsFor(nullptr, 0);
static bool backHeld;

static Uint16 hatBits(Uint8 hat)
{
    Uint16 held = 0;
    if (hat & SDL_HAT_UP)
        held |= heldUp;
    if (hat & SDL_HAT_DOWN)
        held |= heldDown;
    if (hat & SDL_HAT_LEFT)
        held |= heldLeft;
    if (hat & SDL_HAT_RIGHT)
        held |= heldRight;
    return held;
}

// Gamepad events of the first pad: directions into the held state, the
// fire and Start buttons into pass events, Back into its held state.
static void padEvent(PassInput *in, const SDL_Event &event)
{
    switch (event.type) {
    case SDL_JOYAXISMOTION:
        if (event.jaxis.which != 0)
            break;
        if (event.jaxis.axis == 0)
            axisXHeld = axisBits(event.jaxis.value, heldLeft, heldRight);
        else if (event.jaxis.axis == 1)
            axisYHeld = axisBits(event.jaxis.value, heldUp, heldDown);
        break;
    case SDL_JOYHATMOTION:
        if (event.jhat.which == 0 && event.jhat.hat == 0)
            hatHeld = hatBits(event.jhat.value);
        break;
    case SDL_JOYBUTTONDOWN:
        if (event.jbutton.which != 0)
            break;
        if (event.jbutton.button == buttons.fire)
            addPassEvent(in, passFire);
        else if (event.jbutton.button == buttons.start)
            addPassEvent(in, passStart);
        else if (event.jbutton.button == buttons.back)
            backHeld = true;
        break;
    case SDL_JOYBUTTONUP:
        if (event.jbutton.which == 0 && event.jbutton.button == buttons.back)
            backHeld = false;
        break;
    }
}

// F11 and Alt+Enter switch between window and full screen; Enter with Alt
// is that switch only, never a restart.
static bool presentationKey(const SDL_keysym &key)
{
    return key.sym == SDLK_F11 || (key.sym == SDLK_RETURN && (key.mod & KMOD_ALT));
}

static void pollEvents(PassInput *in)
{
    SDL_Event event;
    // A full record leaves what is still queued for the next pass, so no
    // event is ever lost.
    while (in->eventCount < maxPassEvents && SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT)
            addPassEvent(in, passQuit);
        else if (event.type == SDL_KEYDOWN && presentationKey(event.key.keysym))
            toggleFullScreen();
        else if (event.type == SDL_KEYDOWN && keyEvent(event.key.keysym.sym))
            addPassEvent(in, keyEvent(event.key.keysym.sym));
        else if (event.type == SDL_ACTIVEEVENT && event.active.gain == 0
                 && (event.active.state & (SDL_APPINPUTFOCUS | SDL_APPACTIVE))
                 && focusPauses)
            addPassEvent(in, passFocusPause);
        else
            padEvent(in, event);
    }
}

static Uint16 heldKeys()
{
    const Uint8 *keys = SDL_GetKeyState(NULL);
    Uint16 held = 0;
    for (int i = 0; i < heldKeyMapCount; i++)
        if (keys[heldKeyMap[i].sym])
            held |= heldKeyMap[i].bit;
    return held;
}

void readLiveInput(PassInput *in, Uint32 ticks)
{
    in->ticks = ticks;
    in->eventCount = 0;
    pollEvents(in);
    // A quit signal quits like the close request; the flag stays set, so a
    // full record hands it to the next pass.
    if (quitSignalled || backHoldQuits(backHeld, ticks))
        addPassEvent(in, passQuit);
    // After the poll, so that the key state includes the events just read.
    in->held = heldKeys() | axisXHeld | axisYHeld | hatHeld;
}

// The buttons of the pad by its name and button count, or the player's
// own from DRIFTWING_PAD_BUTTONS; a setting that cannot be read is said and
// left alone.
static void chooseButtons(const char *name, int count)
{
    buttons = padButtonsFor(name, count);
    const char *setting = getenv("DRIFTWING_PAD_BUTTONS");
    if (setting && *setting && !applyPadSetting(&buttons, setting))
        fprintf(stderr, "driftwing: DRIFTWING_PAD_BUTTONS '%s' is not like 'fire=0,start=9,back=8'"
                " with three different buttons; using the pad's own\n", setting);
}

void openGamepad()
{
    axisXHeld = axisYHeld = hatHeld = 0;
    backHeld = false;
    SDL_Joystick *pad = SDL_NumJoysticks() > 0 ? SDL_JoystickOpen(0) : nullptr;
    const char *name = pad ? SDL_JoystickName(0) : nullptr;
    chooseButtons(name, pad ? SDL_JoystickNumButtons(pad) : 0);
    if (pad)
        printf("driftwing: gamepad taken up: %s (fire button %d, start %d, back %d)\n",
               name ? name : "unnamed", buttons.fire, buttons.start, buttons.back);
    SDL_JoystickEventState(SDL_ENABLE);
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
