// Safe rewrites of small files, and the lock two games take around a save.
#include "game/savefile.h"

#include <stdio.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <string.h>
#include <time.h>
#include <unistd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/resource.h>

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


// Writes text to "path.tmp" and renames it over path, so that a crash or a
// full disk midway never leaves a half-written score. 0, noTempFile, or the
// errno of the failure; nothing is left behind on failure.
int writeReplacing(const char *path, const char *text, size_t len)
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
int writeInPlace(const char *path, const char *text, size_t len)
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

// How long a save waits for another game's save to finish: ten tries ten
// to forty milliseconds apart, a quarter of a second in all.
static const int lockTries = 10;

int lockSave(const char *path)
{
    char lockName[PATH_MAX + 8];
    int fd = -1;
    // Never through a link someone planted; read-only is enough to lock.
    if (snprintf(lockName, sizeof lockName, "%s.lock", path) < (int)sizeof lockName)
        fd = open(lockName, O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC,
                  0664);
    if (fd < 0)
        fd = open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    for (int i = 0; i < lockTries; i++) {
        if (flock(fd, LOCK_EX | LOCK_NB) == 0)
            return fd;
        if (errno != EWOULDBLOCK && errno != EINTR)
            break;      // no locks here (some network file systems)
        struct timespec pause = { 0, (10 + 3 * i) * 1000000L };
        nanosleep(&pause, nullptr);
    }
    close(fd);
    return -1;
}

void unlockSave(int fd)
{
    // Closing the last descriptor releases the lock.
    if (fd >= 0)
        close(fd);
}
