// The best score lives in "high1" as plain decimal text with no line end.
// It is read once before SDL starts and rewritten at exit when beaten.
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
#include <sys/resource.h>
#include "world/world.h"
#include "platform/signals.h"

const char *highScoreFile = "high1";

// The input stream stays open from the read until shutdown releases it.
static FILE *highScoreIn;

// What the read found. The write at exit depends on it: a file that is
// there but could not be read may hold a better score than the one in
// play, and a FIFO or a device is not a place to keep a score at all.
enum ReadState { readNothing, readFile, readUnreadable, readSpecial };
static ReadState readState;
static int readErrno;

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
        highScore = value;
    else if (ferror(highScoreIn)) {
        readState = readUnreadable;
        readErrno = EIO;
    }
}

// Writes all of text to fd; 0 or the errno of the failure.
static int writeAll(int fd, const char *text, size_t len)
{
    while (len > 0) {
        ssize_t n = write(fd, text, len);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        text += n;
        len -= (size_t)n;
    }
    return 0;
}

// The file's permission bits to keep, or -1 for a new file.
static int keptMode(const char *path)
{
    struct stat st;
    if (stat(path, &st) == 0 && S_ISREG(st.st_mode))
        return (int)(st.st_mode & 07777);
    return -1;
}

// Signals that the temporary file could not be made at all.
const int noTempFile = -1;

// Writes text to "path.tmp" and renames it over path, so that a crash or a
// full disk midway never leaves a half-written score. 0, noTempFile, or the
// errno of the failure; nothing is left behind on failure.
static int writeReplacing(const char *path, const char *text, size_t len)
{
    char tmpName[PATH_MAX + 8];
    if (snprintf(tmpName, sizeof tmpName, "%s.tmp", path) >= (int)sizeof tmpName)
        return noTempFile;

    // A stale file of a run that died here goes first; anything else by
    // that name (a link someone planted, a file of another user) is never
    // opened: the exclusive create below refuses it.
    struct stat st;
    if (lstat(tmpName, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == geteuid())
        unlink(tmpName);

    int mode = keptMode(path);
    int fd = open(tmpName, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                  mode >= 0 ? mode : 0664);
    if (fd < 0)
        return noTempFile;
    // The creation mask must not narrow the bits of a file that had them.
    int err = mode >= 0 && fchmod(fd, (mode_t)mode) != 0 ? errno : 0;
    if (!err)
        err = writeAll(fd, text, len);
    if (!err && fsync(fd) != 0)
        err = errno;
    if (close(fd) != 0 && !err)
        err = errno;
    if (!err && rename(tmpName, path) != 0)
        err = errno;
    if (err)
        unlink(tmpName);
    return err;
}

// Rewrites path where it stands, for a folder where no new file can be
// made. The new text goes over the old before the file is cut to its
// length, so a write that fails leaves the old score readable.
static int writeInPlace(const char *path, const char *text, size_t len)
{
    struct rlimit lim;
    if (getrlimit(RLIMIT_FSIZE, &lim) == 0 && lim.rlim_cur != RLIM_INFINITY
        && lim.rlim_cur < len)
        return EFBIG;
    int fd = open(path, O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0664);
    if (fd < 0)
        return errno;
    struct stat st;
    int err = 0;
    if (fstat(fd, &st) != 0)
        err = errno;
    else if (!S_ISREG(st.st_mode))
        err = EINVAL;
    if (!err)
        err = writeAll(fd, text, len);
    if (!err && ftruncate(fd, (off_t)len) != 0)
        err = errno;
    if (!err && fsync(fd) != 0)
        err = errno;
    if (close(fd) != 0 && !err)
        err = errno;
    return err;
}

bool writeHighScore()
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

    char text[16];
    int len = snprintf(text, sizeof text, "%d", score);

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

    // With a file-size limit a write past it must fail, not kill the game.
    ignoreFileSizeSignal();
    int err = dangling ? noTempFile : writeReplacing(path, text, (size_t)len);
    if (err == noTempFile)
        err = writeInPlace(path, text, (size_t)len);

    // Said while the signal is still ignored: standard error may be a
    // file under the same limit.
    if (err == EINVAL)
        fprintf(stderr, "driftwing: could not save the best score to %s: not a regular file\n",
                highScoreFile);
    else if (err)
        fprintf(stderr, "driftwing: could not save the best score to %s: %s\n", highScoreFile,
                strerror(err));
    fflush(stderr);
    restoreFileSizeSignal();
    return err == 0;
}

void closeHighScore()
{
    if (highScoreIn) {
        fclose(highScoreIn);
        highScoreIn = nullptr;
    }
}
