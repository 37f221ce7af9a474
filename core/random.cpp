#include "core/random.h"

#include <stdlib.h>
#include <string.h>
#include <stdint.h>

#ifdef __GLIBC__
// The C library's own generator with a private state of the size rand()
// uses, so the sequence is the one rand() gives.
static struct random_data state;
static char stateBuf[128];
static bool seeded;

void seedGameRand(unsigned int seed)
{
    memset(&state, 0, sizeof state);
    initstate_r(seed, stateBuf, sizeof stateBuf, &state);
    seeded = true;
}

int gameRand()
{
    if (!seeded)
        seedGameRand(1);    // as rand() without srand()
    int32_t r;
    random_r(&state, &r);
    return r;
}
#else
// Elsewhere (a web page's C library) rand() gives other numbers, and a demo
// recorded on the desktop would not play the same: the game computes glibc's
// sequence itself.
void seedGameRand(unsigned int seed) { seedOwnRand(seed); }
int gameRand() { return ownRand(); }
#endif

// glibc's rand(): an additive feedback generator over 31 words, seeded by
// the minimal standard generator and run 310 steps before the first number.
static int32_t ownState[31];
static int ownFront, ownRear;

void seedOwnRand(unsigned int seed)
{
    if (seed == 0)
        seed = 1;
    ownState[0] = (int32_t)seed;
    // The seed is taken as a signed 32-bit word, as the library takes it.
    int32_t word = (int32_t)seed;
    for (int i = 1; i < 31; i++) {
        // 16807 * word % 2147483647 without overflowing 31 bits.
        int64_t hi = word / 127773, lo = word % 127773;
        int64_t next = 16807 * lo - 2836 * hi;
        if (next < 0)
            next += 2147483647;
        word = (int32_t)next;
        ownState[i] = word;
    }
    ownFront = 3;
    ownRear = 0;
    for (int i = 0; i < 310; i++)
        ownRand();
}

int ownRand()
{
    uint32_t sum = (uint32_t)ownState[ownFront] + (uint32_t)ownState[ownRear];
    ownState[ownFront] = (int32_t)sum;
    ownFront = (ownFront + 1) % 31;
    ownRear = (ownRear + 1) % 31;
    return (int)(sum >> 1);
}
