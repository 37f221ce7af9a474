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
#include "game/startup.h"

namespace {

// Owners of the strings that options and highScoreFile point into; they live
// for the whole run. The best score's path is never destroyed: the last
// wish of a second quit signal may still be saving to it while exit() runs
// the destructors.
std::string recordPath, playPath, timedemoPath;
std::string &userHighScore = *new std::string;

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

// What start-up loads, by the file that stands for each asset (a sprite
// set's info, a font's font.ini). A folder with none of them holds nothing
// of the game's, whatever else its data/ holds.
const char *const gameDataFiles[] = {
    "data/title.bmp", "data/sound/tnt22.it", "data/sound/shot.wav", "data/sound/explode.wav",
    "data/repeat.bmp", "data/front.bmp", "data/logo.bmp", "data/smallship.bmp",
    "data/gameover.bmp", "data/ship/info", "data/bullet/info", "data/enemy/info",
    "Data/cloud/info", "data/font/font.ini", "data/bigfont/font.ini",
};

bool holdsAnyGameData(const std::string &dir)
{
    for (const char *file : gameDataFiles)
        if (access((dir + "/" + file).c_str(), F_OK) == 0)
            return true;
    return false;
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

// Demo paths are given relative to the folder the player started in; they
// are made absolute before the game may change to another folder. When the
// working folder cannot be found (removed, or its path too long) a relative
// path would name a file in the game root instead: refused with one line,
// status 2.
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

// The best score lives in the game root; its path is made absolute, so that
// every message about it names the file wherever the player started.
void keepBestScoreIn(const std::string &root)
{
    userHighScore = root.empty() ? std::string("high1") : root + "/high1";
    highScoreFile = userHighScore.c_str();
}

// The install tree is not the player's to write: the best score lives in
// the player's own folder, made on the first run. Without one it is not kept
// at all, which is said once here; "high1" then names a place that does not
// exist, so that nothing could ever touch the tree.
void keepBestScorePerUser()
{
    const char *home = getenv("HOME");
    if (!home || home[0] != '/') {
        struct passwd *pw = getpwuid(getuid());
        home = pw ? pw->pw_dir : nullptr;
    }
    std::string dir = userDataDir(getenv("XDG_DATA_HOME"), home);
    if (dir.empty())
        fprintf(stderr, "driftwing: HOME is not set, so the best score will not be kept\n");
    else if (!makeFolders(dir, 0700))
        fprintf(stderr, "driftwing: cannot create %s (%s), so the best score will not be kept\n",
                dir.c_str(), strerror(errno));
    else {
        keepBestScoreIn(dir);
        return;
    }
    bestScoreKept = 0;
    keepBestScoreIn("/nonexistent/driftwing");
}

// One line naming every folder searched; status 1. Started from the source
// tree, where `make play` makes the data in run/, the line names that folder.
int noGameData(const std::string &first, const std::string &second)
{
    bool madeByPlay = !second.empty() && holdsGameData(first + "/run");
    fprintf(stderr, "driftwing: no game data found in %s%s%s; --data DIR chooses the folder"
            " that holds it%s%s%s\n", first.c_str(), second.empty() ? "" : " or ", second.c_str(),
            madeByPlay ? " (`make play` made it in " : "", madeByPlay ? first.c_str() : "",
            madeByPlay ? "/run: --data run)" : "");
    return 1;
}

} // namespace

std::string installRootFor(const std::string &exePath)
{
    size_t slash = exePath.rfind('/');
    if (slash == std::string::npos)
        return std::string();
    // The executable's folder is canonical, so its parent is found by name.
    std::string folder = exePath.substr(0, slash);
    size_t up = folder.rfind('/');
    std::string parent = up == std::string::npos ? (slash == 0 ? "" : ".") : folder.substr(0, up);
    return parent + "/share/games/driftwing";
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
    int status = keepDemoPaths(start);
    if (status >= 0)
        return status;
    if (start.empty())
        start = ".";
    if (options.dataDir) {
        std::string given = absoluteFrom(start, options.dataDir);
        if (chdir(given.c_str()) != 0) {
            fprintf(stderr, "driftwing: --data '%s': %s (try 'driftwing --help')\n",
                    given.c_str(), strerror(errno));
            return 2;
        }
        std::string root = currentFolder();
        if (!holdsAnyGameData(root))
            return noGameData(root, std::string());
        keepBestScoreIn(root);
        return -1;
    }

    // A menu entry starts the game in the home folder, where a data/ of the
    // player's own may lie: only one that holds the game's data counts before
    // the installed tree. A folder with only part of the data still beats
    // none at all: the loaders name what is missing and the game goes on.
    std::string installed = installRootFor(executablePath());
    for (bool whole : { true, false }) {
        if (whole ? holdsGameData(start) : holdsAnyGameData(start)) {
            keepBestScoreIn(start);
            return -1;
        }
        if (!installed.empty() && (whole ? holdsGameData(installed) : holdsAnyGameData(installed))
            && chdir(installed.c_str()) == 0) {
            keepBestScorePerUser();
            return -1;
        }
    }
    return noGameData(start, installed);
}
