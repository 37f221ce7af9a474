// The game's keys and stick directions, shared by every implementation.
#include "platform/keymap.h"
#include "platform/input.h"

const HeldKeyBit heldKeyMap[] = {
    { SDLK_UP, heldUp }, { SDLK_DOWN, heldDown }, { SDLK_LEFT, heldLeft },
    { SDLK_RIGHT, heldRight }, { SDLK_g, heldG }, { SDLK_s, heldS },
    { SDLK_LSHIFT, heldLShift }, { SDLK_RSHIFT, heldRShift }, { SDLK_LALT, heldLAlt },
};
const int heldKeyMapCount = sizeof heldKeyMap / sizeof heldKeyMap[0];

int keyEvent(int sym)
{
    switch (sym) {
    case SDLK_ESCAPE: return passEscape;
    case SDLK_SPACE: return passFire;
    case SDLK_p: return passPause;
    case SDLK_RETURN: return passRestart;
    default: return 0;
    }
}

Uint16 axisBits(Sint16 value, Uint16 negative, Uint16 positive)
{
    if (value < -padDeadZone)
        return negative;
    if (value > padDeadZone)
        return positive;
    return 0;
}
