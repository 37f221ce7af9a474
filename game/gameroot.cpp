// Chooses the game root at start-up, before anything is read from it. Every
// asset path and "high1" are relative to the working directory, so choosing
// the root means changing to it.
#include "game/gameroot.h"

#include <errno.h>
#include <limits.h>
#include <pwd.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include "game/highscore.h"
#include "game/options.h"

namespace {

// Owners of the strings that options and highScoreFile point into; they live
// for the whole run.
std::string recordPath, playPath, timedemoPath, userHighScore;

bool isFolder(const std::string &path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// A game root holds data/ with at least the player's ship in it.
bool holdsGameData(const std::string &dir)
{
    return access((dir + "/data/ship/info").c_str(), R_OK) == 0;
}

// Why the working folder could not be found, when it could not.
int currentFolderErrno;

std::string currentFolder()
{
    char buf[PATH_MAX];
    if (getcwd(buf, sizeof buf))
        return std::string(buf);
    currentFolderErrno = errno;
    return std::string();
}

std::string executablePath()
{
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return std::string();
    buf[n] = 0;
    return buf;
}

// Points an option at the absolute form of its path, kept in `store`.
void makeAbsolute(const char *&option, std::string &store, const std::string &dir)
{
    if (!option || option[0] == '/' || dir.empty())
        return;
    store = absoluteFrom(dir, option);
    option = store.c_str();
}

// Demo paths are given relative to the folder the player started in; before
// the game changes to another folder they are made absolute. Without a change
// they stay as given, so messages name them as the player wrote them. When
// the working folder cannot be found (removed, or its path too long) a
// relative path would name a file in the game root instead: refused with one
// line, status 2.
int keepDemoPaths(const std::string &start)
{
    const char *paths[] = { options.recordFile, options.playFile, options.timedemoFile };
    for (const char *path : paths)
        if (path && path[0] != '/' && start.empty()) {
            fprintf(stderr, "driftwing: demo '%s': the working folder cannot be found (%s),"
                    " so a relative path names no file\n", path, strerror(currentFolderErrno));
            return 2;
        }
    makeAbsolute(options.recordFile, recordPath, start);
    makeAbsolute(options.playFile, playPath, start);
    makeAbsolute(options.timedemoFile, timedemoPath, start);
    return -1;
}

} // namespace

std::string installRootFor(const std::string &exePath)
{
    size_t slash = exePath.rfind('/');
    if (slash == std::string::npos)
        return std::string();
    return exePath.substr(0, slash) + "/../share/games/driftwing";
}

std::string userDataDir(const char *xdgDataHome, const char *home)
{
    // A relative XDG_DATA_HOME is invalid and must be ignored.
    if (xdgDataHome && xdgDataHome[0] == '/')
        return std::string(xdgDataHome) + "/driftwing";
    if (home && home[0] == '/')
        return std::string(home) + "/.local/share/driftwing";
    return std::string();
}

std::string absoluteFrom(const std::string &dir, const char *path)
{
    if (!path)
        return std::string();
    if (path[0] == '/' || dir.empty())
        return path;
    return dir + "/" + path;
}

bool makeFolders(const std::string &path, unsigned mode)
{
    if (path.empty())
        return false;
    for (size_t i = 1; i <= path.size(); i++) {
        if (i < path.size() && path[i] != '/')
            continue;
        std::string part = path.substr(0, i);
        if (mkdir(part.c_str(), mode) != 0 && errno != EEXIST)
            return false;
    }
    return isFolder(path);
}

int chooseGameRoot()
{
    std::string start = currentFolder();
    if (options.dataDir) {
        int status = keepDemoPaths(start);
        if (status >= 0)
            return status;
        if (chdir(options.dataDir) != 0) {
            fprintf(stderr, "driftwing: --data '%s': %s (try 'driftwing --help')\n",
                    options.dataDir, strerror(errno));
            return 2;
        }
        return -1;
    }
    // A menu entry starts the game in the home folder, where a data/ of the
    // player's own may lie: only one that holds the game's data counts.
    if (holdsGameData("."))
        return -1;

    // No data here: an installed game reads the tree beside its executable.
    std::string root = installRootFor(executablePath());
    if (root.empty() || !holdsGameData(root))
        return -1;      // as before: the loaders name what is missing
    int status = keepDemoPaths(start);
    if (status >= 0)
        return status;
    if (chdir(root.c_str()) != 0)
        return -1;

    const char *home = getenv("HOME");
    if (!home || home[0] != '/') {
        struct passwd *pw = getpwuid(getuid());
        home = pw ? pw->pw_dir : nullptr;
    }
    std::string dir = userDataDir(getenv("XDG_DATA_HOME"), home);
    // The install tree is not the player's to write. Without a folder of
    // their own, "high1" names a place that does not exist: nothing is read,
    // and the write at exit fails quietly instead of touching the tree.
    if (dir.empty() || !makeFolders(dir, 0700))
        fprintf(stderr, "driftwing: cannot create %s: the best score will not be kept\n",
                dir.empty() ? "a data folder (HOME is not set)" : dir.c_str());
    userHighScore = (dir.empty() ? std::string("/nonexistent/driftwing") : dir) + "/high1";
    highScoreFile = userHighScore.c_str();
    return -1;
}
