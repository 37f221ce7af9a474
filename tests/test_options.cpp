// The command line through the real binary, in a folder with a piece of the
// game's data. SDL's video driver is set to one that does not exist, so a
// run that gets past the options ends at SDL's start with status 1, and one
// that must stop before SDL shows it.
#include <gtest/gtest.h>
#include <string.h>
#include <algorithm>
#include "tests/support.h"
#include "tests/testinput.h"
#include "platform/display.h"

struct GameRun {
    int status;
    std::string out, err;
};

static GameRun runGame(const std::string &args, const std::string &env = "SDL_AUDIODRIVER=nosuch")
{
    static std::string dir = someGameData();
    GameRun r;
    r.status = runGameIn(dir, args, &r.out, &r.err, "SDL_VIDEODRIVER=nosuch " + env);
    return r;
}

TEST(Options, BadInputIsOneLineNamingItWithAHintAndStatus2BeforeSdl)
{
    static const struct { const char *args, *named; } cases[] = {
        { "--bogus", "--bogus" }, { "-x", "-x" }, { "stray", "stray" }, { "--window=yes", "--window=yes" },
        { "--scale 0", "0" }, { "--scale 5", "5" }, { "--scale 22", "22" }, { "--scale -1", "-1" },
        { "--scale two", "two" }, { "--scale=1.5", "1.5" }, { "--scale", "--scale" }, { "--scale=", "--scale" },
        { "--data", "--data" }, { "--record", "--record" }, { "--record a.demo --play b.demo", "--play" },
        { "--window --nosound --bogus", "--bogus" },
        // A --data folder that is not there, found once the options are read.
        { "--data /nonexistent/missing", "/nonexistent/missing" },
    };
    for (const auto &c : cases) {
        GameRun r = runGame(c.args);
        EXPECT_EQ(r.status, 2) << c.args;
        EXPECT_EQ(r.out, "") << c.args;
        ASSERT_FALSE(r.err.empty()) << c.args;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << c.args << ": " << r.err;
        EXPECT_NE(r.err.find(std::string("'") + c.named + "'"), std::string::npos)
            << c.args << ": " << r.err;
        EXPECT_NE(r.err.find("--help"), std::string::npos) << r.err;
    }
}

TEST(Options, HelpAndVersionExitAtOnce)
{
    for (const char *help : { "--help", "-h", "--window --help --bogus" }) {
        GameRun r = runGame(help);
        EXPECT_EQ(r.status, 0) << help;
        EXPECT_EQ(r.err, "") << help;
        EXPECT_EQ(r.out.rfind("Usage: driftwing", 0), 0u) << r.out;
        for (const char *opt : { "--window", "--fullscreen", "--scale", "--nosound", "--no-autopause",
                                 "--vsync", "--data", "--record", "--play", "--timedemo", "--version", "F11" })
            EXPECT_NE(r.out.find(opt), std::string::npos) << opt;
    }
    GameRun v = runGame("--version");
    EXPECT_EQ(v.status, 0);
    // The second line names the SDL running, so a report tells the builds apart.
    SDL_version sdl = linkedSdlVersion();
    std::string running = "SDL " + std::to_string(sdl.major) + "." + std::to_string(sdl.minor) + "."
                          + std::to_string(sdl.patch) + (sdl.patch >= 50 ? " as sdl12-compat" : "");
    EXPECT_EQ(v.out.rfind("driftwing 1.0\n" + running + " ", 0), 0u) << v.out;
    EXPECT_NE(v.out.find("(built against "), std::string::npos) << v.out;
    EXPECT_EQ(std::count(v.out.begin(), v.out.end(), '\n'), 2) << v.out;
    EXPECT_EQ(v.err, "");
}

// Text that cannot be written (a full disk, a closed standard output) is a
// failure: one line on standard error and status 1, not 0.
TEST(Options, HelpAndVersionThatCannotBeWrittenFail)
{
    const struct { const char *args, *to, *why; } cases[] = {
        { "--version", ">/dev/full", "No space left on device" },
        { "--help", ">/dev/full", "No space left on device" },
        { "--version", ">&-", "Bad file descriptor" },
    };
    for (const auto &c : cases) {
        int status = 0;
        std::string err = runCommand(std::string(DRIFTWING_PATH) + " " + c.args + " 2>&1 " + c.to, &status);
        EXPECT_EQ(status, 1) << c.args << " " << c.to;
        EXPECT_EQ(err, std::string("driftwing: cannot write to standard output (") + c.why + ")\n")
            << c.args << " " << c.to;
    }
}

// --vsync is taken on every build; where the SDL library cannot wait for the
// display the game says so in one line and goes on starting.
TEST(Options, GoodOptionsAreAcceptedAndReachSdl)
{
    const std::string noVsync = requestVsync() ? "" : "driftwing: --vsync: this SDL library cannot wait for"
                                                       " the display; frames are shown as they are drawn\n";
    static const char *const cases[] = {
        "", "--window", "--fullscreen", "--scale 1", "--scale 2", "--scale=3", "--scale 4",
        "--scale auto", "--scale=auto", "--nosound", "--no-autopause", "--vsync --window",
        "--window --scale 2 --fullscreen --nosound --no-autopause",
    };
    for (const char *args : cases) {
        GameRun r = runGame(args);
        EXPECT_EQ(r.status, 1) << args;
        EXPECT_EQ(r.out.rfind("driftwing: Unable to init SDL: ", 0), 0u) << args << ": " << r.out;
        EXPECT_EQ(r.err, strncmp(args, "--vsync", 7) ? "" : noVsync) << args;
    }
}
