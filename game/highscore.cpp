// The best score lives in "high1" as plain decimal text with no line end.
// It is read once before SDL starts, and rewritten when a game ends above
// it and at exit when the score in play beats it.
#include "game/highscore.h"

#include <stdio.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <limits.h>
#include <ctype.h>
#include <errno.h>
#include <fcntl.h>
#include <unistd.h>
#include <sys/stat.h>
#include <atomic>
#include "world/world.h"
#include "game/savefile.h"

const char *highScoreFile = "high1";

// The input stream stays open from the read until shutdown releases it.
static FILE *highScoreIn;

// What the read found. The write at exit depends on it: a file that is
// there but could not be read may hold a better score than the one in
// play, and a FIFO or a device is not a place to keep a score at all.
enum ReadState { readNothing, readFile, readUnreadable, readSpecial };
static ReadState readState;
static int readErrno;

// The best this run knows the file to hold: what was read at start, or
// saved since. A game that ends and the exit save only what is above it.
static int bestOnFile;

// The best the last wish of a second quit signal may save, or INT_MIN for
// none: published by the main thread, which owns everything above.
static std::atomic<int> bestDue(INT_MIN);

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
    readState = readNothing;
    bestOnFile = highScore;
    // Non-blocking, so that a FIFO in the file's place cannot hold up
    // start-up waiting for a writer.
    int fd = open(highScoreFile, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT) {
            readState = readUnreadable;
            readErrno = errno;
        }
        return;
    }
    struct stat st;
    if (fstat(fd, &st) != 0) {
        readState = readUnreadable;
        readErrno = errno;
        close(fd);
        return;
    }
    if (!S_ISREG(st.st_mode)) {
        // A directory holds no score and the write will say why it failed;
        // anything else that is not a file is left alone for good.
        if (!S_ISDIR(st.st_mode))
            readState = readSpecial;
        close(fd);
        return;
    }
    highScoreIn = fdopen(fd, "r");
    if (!highScoreIn) {
        readState = readUnreadable;
        readErrno = errno;
        close(fd);
        return;
    }
    readState = readFile;
    int value;
    if (scanScore(highScoreIn, &value))
        highScore = bestOnFile = value;
    else if (ferror(highScoreIn)) {
        readState = readUnreadable;
        readErrno = EIO;
    }
    publishRunBest();
}

// What the file holds at the moment of a save, read again under the lock:
// another game may have stored a better score since this one started.
enum StoredState { storedNothing, storedValue, storedUnreadable, storedSpecial };

static StoredState readStored(const char *path, int *value, int *err)
{
    int fd = open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        *err = errno;
        return errno == ENOENT ? storedNothing : storedUnreadable;
    }
    struct stat st;
    if (fstat(fd, &st) != 0) {
        *err = errno;
        close(fd);
        return storedUnreadable;
    }
    if (!S_ISREG(st.st_mode)) {
        close(fd);
        // A directory holds no score; the write says why it fails.
        return S_ISDIR(st.st_mode) ? storedNothing : storedSpecial;
    }
    FILE *f = fdopen(fd, "r");
    if (!f) {
        *err = errno;
        close(fd);
        return storedUnreadable;
    }
    StoredState state = scanScore(f, value) ? storedValue : storedNothing;
    if (ferror(f)) {
        *err = EIO;
        state = storedUnreadable;
    }
    fclose(f);
    return state;
}

// The save itself, with the lock held, or without it when another game
// held it too long. 0, or the errno of the failure (EINVAL: not a regular
// file; -2: the file could not be read, with its errno in *readErr).
static int saveLocked(const char *path, bool dangling, int value, int *readErr)
{
    // Each round either finds a score at least as high stored, or puts its
    // own in place; a swap that took out a higher score than its own (saved
    // by a game that went on without the lock) puts that one back.
    for (int round = 0; round < 16; round++) {
        int stored = 0;
        StoredState state = readStored(path, &stored, readErr);
        if (state == storedUnreadable)
            return -2;
        if (state == storedSpecial)
            return EINVAL;
        if (state == storedValue && stored >= value)
            return 0;

        char text[16];
        int len = snprintf(text, sizeof text, "%d", value);
        char tmpName[PATH_MAX + 32];
        int err = dangling ? noTempFile : writeTemp(path, text, (size_t)len, tmpName, sizeof tmpName);
        if (err == noTempFile)
            return writeInPlace(path, text, (size_t)len);
        if (err)
            return err;
        err = swapInto(tmpName, path);
        if (err != 1)
            return err;
        int displaced = 0, ignored;
        StoredState was = readStored(tmpName, &displaced, &ignored);
        unlink(tmpName);
        if (was != storedValue || displaced <= value)
            return 0;
        value = displaced;
    }
    return 0;
}

// Saves value through path, whatever thread: reads nothing of the game's
// state. A file the player made read-only keeps its score, said once a run.
static bool storeBest(int value)
{
    // A link is the player's choice of where the score lives: write the
    // file it points to and keep the link.
    const char *path = highScoreFile;
    char resolved[PATH_MAX];
    struct stat st;
    bool dangling = false;
    if (lstat(highScoreFile, &st) == 0 && S_ISLNK(st.st_mode)) {
        if (realpath(highScoreFile, resolved))
            path = resolved;
        else
            dangling = true;
    }
    if (stat(path, &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & 0222) == 0) {
        static std::atomic<bool> said;
        if (!said.exchange(true))
            fprintf(stderr, "driftwing: not saving the best score to %s: the file is read-only\n",
                    highScoreFile);
        return false;
    }

    int lock = lockSave(path);
    int readErr = 0;
    int err = saveLocked(path, dangling, value, &readErr);
    unlockSave(lock);

    if (err == -2)
        fprintf(stderr, "driftwing: not saving the best score to %s: it could not be read (%s)\n",
                highScoreFile, strerror(readErr));
    else if (err == EINVAL)
        fprintf(stderr, "driftwing: could not save the best score to %s: not a regular file\n",
                highScoreFile);
    else if (err)
        fprintf(stderr, "driftwing: could not save the best score to %s: %s\n", highScoreFile,
                strerror(err));
    fflush(stderr);
    return err == 0;
}

bool writeBestScore(int value)
{
    if (readState == readUnreadable) {
        fprintf(stderr, "driftwing: not saving the best score to %s: it could not be read (%s)\n",
                highScoreFile, strerror(readErrno));
        return false;
    }
    if (readState == readSpecial) {
        fprintf(stderr, "driftwing: could not save the best score to %s: not a regular file\n",
                highScoreFile);
        return false;
    }
    return storeBest(value);
}

bool writeHighScore()
{
    return writeBestScore(score);
}

void (*bestScoreSaved)();

void saveRunBest()
{
    int best = score > highScore ? score : highScore;
    if (best > bestOnFile && writeBestScore(best)) {
        bestOnFile = best;
        if (bestScoreSaved)
            bestScoreSaved();
    }
    publishRunBest();
}

void publishRunBest()
{
    int best = score > highScore ? score : highScore;
    bool due = best > bestOnFile && (readState == readNothing || readState == readFile);
    bestDue.store(due ? best : INT_MIN);
}

void saveRunBestAtOnce()
{
    int best = bestDue.load();
    if (best != INT_MIN && storeBest(best))
        bestDue.compare_exchange_strong(best, INT_MIN);
}

void closeHighScore()
{
    if (highScoreIn) {
        fclose(highScoreIn);
        highScoreIn = nullptr;
    }
}
