// The "high1" reader on arbitrary bytes (what it reads from which text is
// the unit test's table), then the rewrite and a second read, which must give
// the score back.
#include "fuzz/harness.h"
#include <limits.h>
#include "world/world.h"
#include "game/highscore.h"

static std::string path;

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    path = fuzzScratch("high1") + "/high1";
    highScoreFile = path.c_str();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzFile(path, data, size);
    highScore = 0;
    readHighScore();
    closeHighScore();
    if (highScore == INT_MAX)
        return 0;
    score = highScore + 1;
    if (!writeHighScore())
        abort();
    highScore = 0;
    readHighScore();
    closeHighScore();
    if (highScore != score)
        abort();
    return 0;
}
