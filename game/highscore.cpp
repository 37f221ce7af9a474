// The best score lives in "high1" as plain decimal text with no line end.
// It is read once before SDL starts and rewritten at exit when beaten.
#include "game/highscore.h"

#include <stdio.h>
#include <stdint.h>
#include <limits.h>
#include <ctype.h>
#include <fcntl.h>
#include <unistd.h>
#include "game/world.h"

const char *highScoreFile = "high1";

// The input stream stays open from the read until shutdown releases it.
static FILE *highScoreIn;

// Reads an optionally signed decimal number after leading whitespace and
// clamps it to 32 bits; returns false when no digit is there.
static bool scanScore(FILE *f, int *out)
{
    int c = fgetc(f);
    while (c != EOF && isspace(c))
        c = fgetc(f);
    int negative = 0;
    if (c == '+' || c == '-') {
        negative = (c == '-');
        c = fgetc(f);
    }
    int64_t value = 0;
    int digits = 0;
    while (c != EOF && c >= '0' && c <= '9') {
        // Past 2^31 the value is clamped anyway; stop it growing further.
        if (value <= (int64_t)INT_MAX + 1)
            value = value * 10 + (c - '0');
        digits++;
        c = fgetc(f);
    }
    if (digits == 0)
        return false;
    if (negative)
        value = -value;
    if (value > INT_MAX)
        value = INT_MAX;
    if (value < INT_MIN)
        value = INT_MIN;
    *out = (int)value;
    return true;
}

void readHighScore()
{
    highScoreIn = fopen(highScoreFile, "r");
    if (!highScoreIn)
        return;
    int value;
    if (scanScore(highScoreIn, &value))
        highScore = value;
}

// Writes the score to a temporary file beside "high1" and renames it over
// the old one, so a crash or a full disk midway never loses the stored best.
void writeHighScore()
{
    char tmpName[4096];
    snprintf(tmpName, sizeof tmpName, "%s.tmp", highScoreFile);

    int fd = open(tmpName, O_WRONLY | O_CREAT | O_TRUNC, 0664);
    if (fd < 0)
        return;
    FILE *out = fdopen(fd, "w");
    if (!out) {
        close(fd);
        unlink(tmpName);
        return;
    }
    bool ok = fprintf(out, "%d", score) > 0;
    ok = fflush(out) == 0 && ok;
    ok = fsync(fileno(out)) == 0 && ok;
    ok = fclose(out) == 0 && ok;
    if (!ok || rename(tmpName, highScoreFile) != 0)
        unlink(tmpName);
}

void closeHighScore()
{
    if (highScoreIn) {
        fclose(highScoreIn);
        highScoreIn = nullptr;
    }
}
