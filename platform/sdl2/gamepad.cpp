// The gamepad on SDL 2. One pad plays at a time: the first game controller
// there is, or the first one plugged in while none is. A pad pulled out is
// dropped at once and the next one present, if any, takes over; play goes on
// either way. SDL's mapping database names the buttons, and SDL itself reads
// SDL_GAMECONTROLLERCONFIG for a pad the database does not know.
#include "platform/input.h"
#include "platform/keymap.h"
#include "platform/sdl2/gamepad.h"

#include <stdio.h>

static SDL_GameController *pad;
static SDL_JoystickID padId = -1;

// The left stick's two axes and the D-pad, each on its own so that letting
// go of one does not cancel the other.
static Uint16 stickXHeld, stickYHeld, dpadHeld;
static bool backHeld;

static const char *padName()
{
    const char *name = SDL_GameControllerName(pad);
    return name ? name : "unnamed";
}

// pulledOut: the pad went away, which is said; openGamepad starting over
// lets go quietly.
static void dropPad(bool pulledOut)
{
    if (pad && pulledOut)
        printf("driftwing: gamepad let go: %s\n", padName());
    if (pad)
        SDL_GameControllerClose(pad);
    pad = nullptr;
    padId = -1;
    stickXHeld = stickYHeld = dpadHeld = 0;
    backHeld = false;
}

static void takePad(int deviceIndex)
{
    if (pad || !SDL_IsGameController(deviceIndex))
        return;
    pad = SDL_GameControllerOpen(deviceIndex);
    if (!pad)
        return;
    padId = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad));
    printf("driftwing: gamepad taken up: %s\n", padName());
}

static void takeFirstPad()
{
    int count = SDL_NumJoysticks();
    for (int i = 0; i < count && !pad; i++)
        takePad(i);
}

void openGamepad()
{
    dropPad(false);
    SDL_GameControllerEventState(SDL_ENABLE);
    takeFirstPad();
}

static Uint16 dpadBit(Uint8 button)
{
    switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_UP: return heldUp;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return heldDown;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return heldLeft;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return heldRight;
    default: return 0;
    }
}

static void buttonDown(PassInput *in, Uint8 button)
{
    if (button == SDL_CONTROLLER_BUTTON_A)
        addPassEvent(in, passFire);
    else if (button == SDL_CONTROLLER_BUTTON_START)
        addPassEvent(in, passStart);
    else if (button == SDL_CONTROLLER_BUTTON_BACK)
        backHeld = true;
    else
        dpadHeld |= dpadBit(button);
}

bool gamepadEvent(PassInput *in, const SDL_Event &event)
{
    switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
        takePad(event.cdevice.which);           // a device index
        return true;
    case SDL_CONTROLLERDEVICEREMOVED:
        if (pad && event.cdevice.which == padId) {  // an instance id
            dropPad(true);
            takeFirstPad();
        }
        return true;
    case SDL_CONTROLLERAXISMOTION:
        if (!pad || event.caxis.which != padId)
            return true;
        if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX)
            stickXHeld = axisBits(event.caxis.value, heldLeft, heldRight);
        else if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY)
            stickYHeld = axisBits(event.caxis.value, heldUp, heldDown);
        return true;
    case SDL_CONTROLLERBUTTONDOWN:
        if (pad && event.cbutton.which == padId)
            buttonDown(in, event.cbutton.button);
        return true;
    case SDL_CONTROLLERBUTTONUP:
        if (pad && event.cbutton.which == padId) {
            dpadHeld &= (Uint16)~dpadBit(event.cbutton.button);
            if (event.cbutton.button == SDL_CONTROLLER_BUTTON_BACK)
                backHeld = false;
        }
        return true;
    default:
        return false;
    }
}

Uint16 gamepadHeld()
{
    return stickXHeld | stickYHeld | dpadHeld;
}

bool gamepadBackHeld()
{
    return backHeld;
}
