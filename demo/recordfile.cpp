// Where a recording is written. The demo goes to a temporary file beside its
// name and is put in place only when the recording ends, so a game that
// cannot start, or a recording that fails, leaves an older demo of that name
// as it was.
#include "demo/demo.h"

#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <unistd.h>
#include <sys/stat.h>

// Never destroyed: a last wish may put the demo in place while exit() runs.
static std::string &tempName = *new std::string;    // the temporary file until it is put in place
static std::string &finalName = *new std::string;   // where it goes
static bool toStdout;           // the demo goes where standard output goes

bool recordingToStdout() { return toStdout; }

static bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Also at exit, for a start-up that ends the game before the recording ends.
static void dropTemp()
{
    if (!tempName.empty())
        unlink(tempName.c_str());
    tempName.clear();
}

int createRecording()
{
    finalName = demoPath;
    struct stat st, out;
    bool existed = stat(demoPath, &st) == 0;
    toStdout = existed && fstat(STDOUT_FILENO, &out) == 0 && sameFile(st, out);
    if (existed && S_ISDIR(st.st_mode))
        return EISDIR;
    if (existed && !S_ISREG(st.st_mode)) {
        // A device or a FIFO is written as it is, never replaced.
        demoOut = fopen(demoPath, "wb");
        return demoOut ? 0 : errno;
    }
    // A link names where the player keeps the demo: the file it points to is
    // replaced and the link stays.
    char resolved[PATH_MAX];
    if (existed && realpath(demoPath, resolved))
        finalName = resolved;

    std::string name = finalName + ".XXXXXX";
    int fd = mkstemp(&name[0]);
    if (fd < 0)
        return errno;
    // The bits an older demo had, or those a new file gets.
    mode_t mask = umask(0);
    umask(mask);
    mode_t mode = existed ? (st.st_mode & 07777) : (0666 & ~mask);
    demoOut = fchmod(fd, mode) == 0 ? fdopen(fd, "wb") : nullptr;
    if (!demoOut) {
        int err = errno;
        close(fd);
        unlink(name.c_str());
        return err;
    }
    static bool registered;
    if (!registered && atexit(dropTemp) == 0)
        registered = true;
    tempName = name;
    return 0;
}

int finishRecording(bool keep)
{
    if (tempName.empty())
        return 0;
    int err = 0;
    if (keep && rename(tempName.c_str(), finalName.c_str()) == 0)
        tempName.clear();
    else if (keep)
        err = errno;
    dropTemp();
    return err;
}
