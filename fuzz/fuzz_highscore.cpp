// The "high1" reader on arbitrary bytes, checked against a plain reading of
// the format, then the rewrite and a second read, which must give the score
// back.
#include "fuzz/harness.h"
#include <ctype.h>
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

// Whitespace, an optional sign, digits; clamped to 32 bits; 0 without digits.
static int expected(const uint8_t *data, size_t size)
{
    size_t i = 0;
    while (i < size && isspace(data[i]))
        i++;
    bool negative = false;
    if (i < size && (data[i] == '+' || data[i] == '-'))
        negative = data[i++] == '-';
    long long value = 0;
    bool digits = false;
    for (; i < size && data[i] >= '0' && data[i] <= '9'; i++) {
        digits = true;
        if (value < 10000000000LL)
            value = value * 10 + (data[i] - '0');
    }
    if (!digits)
        return 0;
    value = negative ? -value : value;
    return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : (int)value;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzFile(path, data, size);
    highScore = 0;
    readHighScore();
    closeHighScore();
    if (highScore != expected(data, size))
        abort();

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
