// Live input: SDL's event queue and key state turned into a pass record.
#include "game/input.h"

#include "game/hangup.h"

bool addPassEvent(PassInput *in, int event)
{
    if (in->eventCount >= maxPassEvents)
        return false;
    in->events[in->eventCount++] = (Uint8)event;
    return true;
}

// The pass event of a key-down, or 0 for a key the loop does not act on.
static int keyEvent(SDLKey sym)
{
    switch (sym) {
    case SDLK_ESCAPE: return passEscape;
    case SDLK_SPACE: return passFire;
    case SDLK_p: return passPause;
    case SDLK_RETURN: return passRestart;
    default: return 0;
    }
}

static void pollEvents(PassInput *in)
{
    SDL_Event event;
    // A full record leaves what is still queued for the next pass, so no
    // event is ever lost.
    while (in->eventCount < maxPassEvents && SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT)
            addPassEvent(in, passQuit);
        else if (event.type == SDL_KEYDOWN && keyEvent(event.key.keysym.sym))
            addPassEvent(in, keyEvent(event.key.keysym.sym));
    }
}

static Uint16 heldKeys()
{
    static const struct { SDLKey sym; Uint16 bit; } keyBits[] = {
        { SDLK_UP, heldUp }, { SDLK_DOWN, heldDown }, { SDLK_LEFT, heldLeft },
        { SDLK_RIGHT, heldRight }, { SDLK_g, heldG }, { SDLK_s, heldS },
        { SDLK_LSHIFT, heldLShift }, { SDLK_RSHIFT, heldRShift }, { SDLK_LALT, heldLAlt },
    };
    const Uint8 *keys = SDL_GetKeyState(NULL);
    Uint16 held = 0;
    for (const auto &k : keyBits)
        if (keys[k.sym])
            held |= k.bit;
    return held;
}

void readLiveInput(PassInput *in, Uint32 ticks)
{
    in->ticks = ticks;
    in->eventCount = 0;
    pollEvents(in);
    // A hang-up quits like the close request; the flag stays set, so a full
    // record hands it to the next pass.
    if (hangupRequested)
        addPassEvent(in, passQuit);
    // After the poll, so that the key state includes the events just read.
    in->held = heldKeys();
}
