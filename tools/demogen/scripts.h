// The scripted games that make the golden demos: each feeds pass records to
// the real recorder, deciding its keys from the world state it sees.
#ifndef TOOLS_DEMOGEN_SCRIPTS_H
#define TOOLS_DEMOGEN_SCRIPTS_H

#include <SDL.h>
#include "core/passinput.h"

struct DemoScript {
    const char *name;
    unsigned int seed;
    int best;           // the best score the game starts with
    bool (*next)(PassInput *in);
};

extern const DemoScript demoScripts[];
extern const int demoScriptCount;

// The clock the scripted games' drawing reads: the pass's tick, one
// millisecond later for every sixteen readings, as if drawing took time.
Uint32 scriptClock();

// What a scripted game went through, counted pass by pass (for the
// maintainer, to see that the demos still cover what they should).
struct ScriptCoverage {
    int hits, kills, multiHitKills, wavyEnemies, livesLost, crashes;
    int collisions, gameOvers, restarts, pausedPasses, godPasses, debugScore, debugLives;
};
extern ScriptCoverage coverage;

#endif
