// Inside the platform layer: what the keys and a pad's stick mean to the
// game, the same on every SDL. Keys are named by the SDLK_ values of the
// library the build uses, which both spell alike.
#ifndef PLATFORM_KEYMAP_H
#define PLATFORM_KEYMAP_H

#include "core/passinput.h"

// The keys whose held state the game reads, and the bit each sets.
struct HeldKeyBit {
    int sym;
    Uint16 bit;
};
extern const HeldKeyBit heldKeyMap[];
extern const int heldKeyMapCount;

// The pass event of a key-down, or 0 for a key the loop does not act on.
int keyEvent(int sym);

// A stick axis past the dead zone holds one of its two directions.
Uint16 axisBits(Sint16 value, Uint16 negative, Uint16 positive);

#endif
