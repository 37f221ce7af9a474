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
void seedGameRand(unsigned int seed) { srand(seed); }
int gameRand() { return rand(); }
#endif
