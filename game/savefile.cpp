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
#include <dirent.h>
#include <signal.h>
#include <stdlib.h>

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


// Whether a temporary file by this name is a leftover of a game that died
// while saving: "NAME.tmp.PID" of a process that is gone, or the plain
// "NAME.tmp" of older versions once it is a minute old. Only this user's.
static bool staleTemp(const char *dir, const char *entry, const char *prefix, size_t prefixLen)
{
    if (strncmp(entry, prefix, prefixLen) != 0)
        return false;
    const char *rest = entry + prefixLen;
    char full[PATH_MAX];
    if (snprintf(full, sizeof full, "%s/%s", dir, entry) >= (int)sizeof full)
        return false;
    struct stat st;
    if (lstat(full, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != geteuid())
        return false;
    if (*rest == '\0')
        return time(nullptr) - st.st_mtime > 60;
    if (*rest != '.')
        return false;
    char *end;
    long pid = strtol(rest + 1, &end, 10);
    if (end == rest + 1 || *end != '\0' || pid <= 0)
        return false;
    return pid == getpid() || (kill((pid_t)pid, 0) != 0 && errno == ESRCH);
}

// The folder that holds path, into dir (PATH_MAX bytes).
static void folderOf(const char *path, char *dir)
{
    const char *slash = strrchr(path, '/');
    if (!slash)
        strcpy(dir, ".");
    else
        snprintf(dir, PATH_MAX, "%.*s", slash == path ? 1 : (int)(slash - path), path);
}

static void removeStaleTemps(const char *path)
{
    char dir[PATH_MAX];
    folderOf(path, dir);
    const char *slash = strrchr(path, '/');
    char prefix[NAME_MAX + 8];
    int prefixLen = snprintf(prefix, sizeof prefix, "%s.tmp", slash ? slash + 1 : path);
    if (prefixLen >= (int)sizeof prefix)
        return;
    DIR *d = opendir(dir);
    if (!d)
        return;
    while (struct dirent *e = readdir(d)) {
        if (staleTemp(dir, e->d_name, prefix, (size_t)prefixLen)) {
            char full[PATH_MAX];
            if (snprintf(full, sizeof full, "%s/%s", dir, e->d_name) < (int)sizeof full)
                unlink(full);
        }
    }
    closedir(d);
}

int writeTemp(const char *path, const char *text, size_t len, char *tmpName, size_t size)
{
    if (snprintf(tmpName, size, "%s.tmp.%ld", path, (long)getpid()) >= (int)size)
        return noTempFile;
    removeStaleTemps(path);

    // Anything else by that name (a link someone planted, a file of another
    // user) is never opened: the exclusive create refuses it.
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
    if (err)
        unlink(tmpName);
    return err;
}

int swapInto(const char *tmpName, const char *path)
{
    // Only a file is swapped out: a folder in its place makes the rename
    // below fail, as it should.
    // (A system without the swap, such as a web page's file system, has one
    // game at a time and takes the plain rename.)
#ifdef RENAME_EXCHANGE
    struct stat st;
    if (lstat(path, &st) == 0 && S_ISREG(st.st_mode)
        && renameat2(AT_FDCWD, tmpName, AT_FDCWD, path, RENAME_EXCHANGE) == 0) {
        if (lstat(tmpName, &st) == 0 && S_ISREG(st.st_mode))
            return 1;
        // Something else was put there meanwhile: it goes back.
        renameat2(AT_FDCWD, tmpName, AT_FDCWD, path, RENAME_EXCHANGE);
        unlink(tmpName);
        return EINVAL;
    }
#endif
    // No file there yet, or a file system that cannot swap: a plain rename.
    int err = rename(tmpName, path) == 0 ? 0 : errno;
    if (err)
        unlink(tmpName);
    return err;
}

// Rewrites path where it stands, for a folder where no new file can be
// made. The new text goes over the old before the file is cut to its
// length, so a write that fails leaves the old score readable. Over a longer
// old text it ends with a space: until the cut, the reader stops there
// instead of reading the new digits run on into the old ones.
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
    if (!err) {
        char buf[32];
        size_t n = len;
        if (st.st_size > (off_t)len && len < sizeof buf) {
            memcpy(buf, text, len);
            buf[n++] = ' ';
            text = buf;
        }
        err = writeAll(fd, text, n);
    }
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
    if (fd < 0) {
        char dir[PATH_MAX];
        folderOf(path, dir);
        fd = open(dir, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    }
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
