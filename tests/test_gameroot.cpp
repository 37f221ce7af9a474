// The game root: --data, a data/ folder in the working directory, and the
// player's own folder for "high1" when the game runs from its install tree.
#include <gtest/gtest.h>
#include <algorithm>
#include <filesystem>
#include <vector>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <limits.h>
#include <string.h>

#include "game/gameroot.h"
#include "game/highscore.h"
#include "game/options.h"
#include "game/startup.h"
#include "tests/support.h"

namespace {

// Runs chooseGameRoot from `start` with fresh options and puts the working
// directory back afterwards.
struct RootRun {
    std::string before = std::filesystem::current_path();
    ~RootRun()
    {
        if (chdir(before.c_str()) != 0)
            ADD_FAILURE() << "cannot return to " << before;
        options = Options();
        highScoreFile = "high1";
        bestScoreKept = 1;
    }
};

} // namespace

// Part of the game's data is enough for a root (the loaders name what is
// missing and the game goes on): here the clouds alone. (Demo paths made
// absolute first: the demo test's messages name them so.)
TEST(GameRoot, DataOptionChangesFolderAndKeepsTheBestThere)
{
    RootRun run;
    std::string root = makeTempDir();
    ASSERT_TRUE(makeFolders(root + "/Data/cloud", 0755));
    writeString(root + "/Data/cloud/info", "1\n");
    options.dataDir = root.c_str();
    EXPECT_EQ(chooseGameRoot(), -1);
    EXPECT_EQ(std::filesystem::current_path(), root);
    EXPECT_EQ(std::string(highScoreFile), root + "/high1") << "a chosen root keeps high1 in itself";
}

// The install tree beside this test program stands in for an installed game:
// started where the game's own data lies, it plays from there. (Started
// elsewhere, it reads the tree and keeps high1 in the player's own folder:
// the install test checks that on the installed game.)
TEST(GameRoot, DataWhereTheGameStartsBeatsTheInstalledTree)
{
    RootRun run;
    std::string tree = installRootFor(std::filesystem::read_symlink("/proc/self/exe"));
    std::string top = tree.substr(0, tree.size() - strlen("/games/driftwing"));   // .../share
    ASSERT_NE(access(top.c_str(), F_OK), 0) << top << " exists; not touching it";
    ASSERT_TRUE(makeFolders(tree + "/data/ship", 0755));
    writeString(tree + "/data/ship/info", "1\n");

    // A relative XDG_DATA_HOME is not valid; a relative or missing HOME gives no folder.
    EXPECT_EQ(userDataDir("rel/data", "/home/a"), "/home/a/.local/share/driftwing");
    EXPECT_EQ(userDataDir(nullptr, "relative") + userDataDir(nullptr, nullptr), "");

    std::string dev = someGameData();
    ASSERT_EQ(chdir(dev.c_str()), 0);
    EXPECT_EQ(chooseGameRoot(), -1);
    EXPECT_EQ(std::filesystem::current_path(), dev);
    EXPECT_EQ(std::string(highScoreFile), dev + "/high1");

    removeTree(top);
}

// Runs the game with args from a working folder that cannot be found: one
// that was removed (deep = false), or one 25 levels of 200-character names
// below dir, past PATH_MAX. Standard error goes to dir/run.err. Its exit status.
static int runFromLostFolder(const std::string &dir, bool deep, std::vector<std::string> args)
{
    int status = inChild([&] {
        std::string name = deep ? std::string(200, 'd') : "gone";
        if (chdir(dir.c_str()) != 0)
            return 90;
        for (int i = 0; i < (deep ? 25 : 1); i++)
            if (mkdir(name.c_str(), 0700) != 0 || chdir(name.c_str()) != 0)
                return 91;
        if (!deep && rmdir((dir + "/gone").c_str()) != 0)
            return 92;
        setenv("SDL_VIDEODRIVER", "nosuch", 1);
        std::vector<char *> argv = { (char *)DRIFTWING_PATH };
        for (std::string &a : args)
            argv.push_back(&a[0]);
        argv.push_back(nullptr);
        execv(DRIFTWING_PATH, argv.data());
        return 93;
    }, dir + "/run");
    removeTree(dir + "/" + std::string(200, 'd'));
    return status;
}

// Through the real binary: started in a folder that cannot be found (removed,
// or deeper than PATH_MAX) with --data, a relative demo path would name a
// file in the game root; it is refused with one line and status 2, and the
// game root is left untouched. An absolute path is still fine.
TEST(GameRoot, ARelativeDemoPathNeedsAWorkingFolder)
{
    std::string tmp = makeTempDir(), root = makeTempDir();
    for (bool deep : { false, true }) {
        for (const char *mode : { "--record", "--play", "--timedemo" }) {
            int status = runFromLostFolder(tmp, deep, { "--data", root, mode, "x.demo" });
            EXPECT_EQ(status, 2) << deep << " " << mode;
            std::string err = readString(tmp + "/run.err");
            EXPECT_EQ(err.rfind("driftwing: demo 'x.demo': the working folder cannot be found (", 0), 0u)
                << deep << " " << mode << ": " << err;
            EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        }
    }
    EXPECT_EQ(system(("test -z \"$(ls -A " + root + ")\"").c_str()), 0) << "the game root was written";

    // An absolute path gets past the check (to SDL's start, which fails here).
    EXPECT_EQ(runFromLostFolder(tmp, false, { "--data", root, "--record", tmp + "/abs.demo" }), 1);
}
