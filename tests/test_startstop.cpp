// Starting and stopping the real game: no game data, no display, the exit
// with and without sound, and quit signals while the game is stuck.
#include <gtest/gtest.h>
#include <limits.h>
#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <vector>
#include "tests/support.h"
#include "tests/testinput.h"
#include "game/gameroot.h"
#include "game/highscore.h"
#include "game/startup.h"
#include "platform/display.h"
#include "platform/signals.h"
#include "world/world.h"

namespace {

double now()
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

std::string realPath(const std::string &path)
{
    char buf[PATH_MAX];
    return realpath(path.c_str(), buf) ? std::string(buf) : path;
}

// A game started in its own folder through env, so that each run sets the
// environment it needs ("-u NAME" unsets, then "NAME=value" sets) before the
// game's own arguments.
struct Game {
    pid_t pid = -1;
    std::string dir;
    int status = -1;        // the exit status, or 128 + the signal that ended it
    double endedAt = 0;

    Game(const std::string &folder, const std::vector<std::string> &envAndArgs) : dir(folder)
    {
        std::vector<std::string> argv = { "env" };
        bool gameNamed = false;
        for (const auto &a : envAndArgs) {
            if (!gameNamed && a.rfind("--", 0) == 0) {
                argv.push_back(DRIFTWING_PATH);
                gameNamed = true;
            }
            argv.push_back(a);
        }
        if (!gameNamed)
            argv.push_back(DRIFTWING_PATH);
        pid = fork();
        if (pid == 0) {
            if (chdir(dir.c_str()) != 0)
                _exit(99);
            if (!freopen("/dev/null", "r", stdin) || !freopen("out.txt", "w", stdout)
                || !freopen("err.txt", "w", stderr))
                _exit(99);
            std::vector<char *> c;
            for (auto &a : argv)
                c.push_back(&a[0]);
            c.push_back(nullptr);
            execv("/usr/bin/env", c.data());
            _exit(98);
        }
    }
    ~Game()
    {
        if (pid > 0 && status < 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }
    // Waits up to `seconds` for the end; false (the game still running)
    // when it did not come.
    bool waitEnd(double seconds)
    {
        double until = now() + seconds;
        while (now() < until) {
            int st;
            if (waitpid(pid, &st, WNOHANG) == pid) {
                endedAt = now();
                status = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
                return true;
            }
            usleep(5000);
        }
        return false;
    }
    std::string out() const { return readString(dir + "/out.txt"); }
    std::string err() const { return readString(dir + "/err.txt"); }
};

// A folder with one piece of the game's data: enough to go on.
std::string someData()
{
    std::string dir = realPath(makeTempDir());
    mkdir((dir + "/data").c_str(), 0755);
    mkdir((dir + "/data/ship").c_str(), 0755);
    writeString(dir + "/data/ship/info", "1\n");
    return dir;
}

bool onSdl2()
{
    SDL_version v = linkedSdlVersion();
    return SDL_VERSIONNUM(v.major, v.minor, v.patch) >= SDL_VERSIONNUM(1, 2, 50);
}

} // namespace

// Before: the game went on with nothing loaded, an all-black game that only
// ESC ended (here it never ends).
TEST(StartStop, NoGameDataIsOneLineNamingThePlacesAndStatusOne)
{
    std::string installed = installRootFor(realPath(DRIFTWING_PATH));
    ASSERT_NE(access((installed + "/data").c_str(), F_OK), 0) << installed << " holds data";
    std::string home = realPath(makeTempDir());
    mkdir((home + "/data").c_str(), 0755);              // a data/ of the player's own
    writeString(home + "/data/letter.txt", "mine");
    const std::string hint = "; --data DIR chooses the folder that holds it\n";

    Game plain(home, { "SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy", "--window" });
    ASSERT_TRUE(plain.waitEnd(15)) << "the game went on without data";
    EXPECT_EQ(plain.status, 1);
    EXPECT_EQ(plain.err(), "driftwing: no game data found in " + home + " or " + installed + hint);
    EXPECT_EQ(plain.out(), "");

    std::string elsewhere = realPath(makeTempDir());
    Game chosen(elsewhere, { "SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy", "--window",
                             "--data", home });
    ASSERT_TRUE(chosen.waitEnd(15)) << "the game went on without data";
    EXPECT_EQ(chosen.status, 1);
    EXPECT_EQ(chosen.err(), "driftwing: no game data found in " + home + hint);
    EXPECT_EQ(chosen.out(), "");
}

TEST(StartStop, DisplayRuleAcceptsAChosenDriverXAndWaylandWhereTheLibraryHasIt)
{
    const char *none = "no graphical display: DISPLAY is not set";
    EXPECT_STREQ(displayMissingFor(nullptr, nullptr, nullptr, false), none);
    EXPECT_STREQ(displayMissingFor("", "", "", true), none);
    EXPECT_STREQ(displayMissingFor(nullptr, nullptr, "wayland-0", false), none);
    EXPECT_EQ(displayMissingFor(nullptr, nullptr, "wayland-0", true), nullptr);
    EXPECT_EQ(displayMissingFor(nullptr, ":0", nullptr, false), nullptr);
    EXPECT_EQ(displayMissingFor("dummy", nullptr, nullptr, false), nullptr);
    EXPECT_EQ(displayMissingFor("caca", nullptr, nullptr, false), nullptr);
}

// Before: SDL 1.2 fell back to its text-mode driver, wrote escape sequences
// to the terminal and played there.
// Waits (up to 15 s) until the game with this pid has taken the quit
// signals, which it blocks in every thread: a signal sent before that, while
// a slow build is still starting, would end it the default way.
static bool takesQuitSignals(pid_t pid)
{
    std::string path = "/proc/" + std::to_string(pid) + "/status";
    for (int i = 0; i < 1500; i++) {
        FILE *f = fopen(path.c_str(), "r");
        char line[256];
        unsigned long long blocked = 0;
        while (f && fgets(line, sizeof line, f))
            if (strncmp(line, "SigBlk:", 7) == 0)
                blocked = strtoull(line + 7, nullptr, 16);
        if (f)
            fclose(f);
        if (blocked & (1ull << (SIGTERM - 1)))
            return true;
        usleep(10000);
    }
    return false;
}

TEST(StartStop, NoDisplayIsOneLineAndStatusOneBeforeSdlStarts)
{
    std::string dir = someData();
    std::vector<std::vector<std::string>> refused = {
        { "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "-u", "SDL_VIDEODRIVER" },
        { "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER=", "DISPLAY=" },
    };
    // Classic SDL 1.2 has no Wayland driver; on SDL 2 the socket is enough.
    if (!onSdl2())
        refused.push_back({ "-u", "DISPLAY", "-u", "SDL_VIDEODRIVER", "WAYLAND_DISPLAY=wayland-0" });
    for (auto env : refused) {
        std::string said;
        for (const auto &e : env)
            said += e + " ";
        env.insert(env.end(), { "SDL_AUDIODRIVER=dummy", "--window", "--nosound" });
        Game g(dir, env);
        ASSERT_TRUE(g.waitEnd(15)) << said << ": still running";
        EXPECT_EQ(g.status, 1) << said;
        EXPECT_EQ(g.err(), "driftwing: no graphical display: DISPLAY is not set\n") << said;
        EXPECT_EQ(g.out(), "") << said;
        EXPECT_NE(access((dir + "/high1").c_str(), F_OK), 0);
    }

    // A DISPLAY nobody answers at: SDL falls back all the same, and is
    // stopped before it plays (on classic SDL its text-mode driver has
    // written its start and end to the terminal by then).
    int number = 9000;
    while (access(("/tmp/.X11-unix/X" + std::to_string(number)).c_str(), F_OK) == 0
           || access(("/tmp/.X" + std::to_string(number) + "-lock").c_str(), F_OK) == 0)
        number++;
    std::string display = ":" + std::to_string(number);
    Game dead(dir, { "-u", "WAYLAND_DISPLAY", "-u", "SDL_VIDEODRIVER", "DISPLAY=" + display,
                     "SDL_AUDIODRIVER=dummy", "--window", "--nosound" });
    ASSERT_TRUE(dead.waitEnd(15)) << "still running on DISPLAY " << display;
    EXPECT_EQ(dead.status, 1);
    std::string line = "Unable to init SDL: no graphical display: cannot open DISPLAY " + display + "\n";
    std::string out = dead.out();
    EXPECT_TRUE(out.size() >= line.size() && out.compare(out.size() - line.size(), line.size(), line) == 0)
        << out;

    // A driver the player names is used without DISPLAY: the dummy one
    // plays until a quit signal ends the game.
    Game dummy(dir, { "-u", "DISPLAY", "SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy", "--window",
                      "--nosound" });
    EXPECT_TRUE(takesQuitSignals(dummy.pid));
    usleep(200000);
    kill(dummy.pid, SIGTERM);
    ASSERT_TRUE(dummy.waitEnd(15));
    EXPECT_EQ(dummy.status, 0);
    EXPECT_EQ(dummy.err().find("no graphical display"), std::string::npos) << dummy.err();
}

// Seconds from a quit signal to the end of a game in play.
static double exitSeconds(const std::string &dir, bool sound)
{
    std::vector<std::string> args = { "SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy", "--window" };
    if (!sound)
        args.push_back("--nosound");
    Game g(dir, args);
    // Past the three seconds of the loading screen, into play.
    EXPECT_TRUE(takesQuitSignals(g.pid));
    usleep(5000000);
    double sent = now();
    kill(g.pid, SIGTERM);
    if (!g.waitEnd(15))
        return 99;
    EXPECT_EQ(g.status, 0) << g.out() << g.err();
    return g.endedAt - sent;
}

// Before: every exit waited a second for a fade, also with nothing to fade.
TEST(StartStop, ExitWaitsForTheFadeOnlyWhileSoundPlays)
{
    std::string dir = realPath(makeTempDir());
    ASSERT_EQ(system((std::string(ASSETGEN_PATH) + " " + dir + " >/dev/null").c_str()), 0);
    double silent = exitSeconds(dir, false);
    EXPECT_LT(silent, 0.5) << "--nosound";
    // The music plays on the dummy device: its fade is still heard out.
    double heard = exitSeconds(dir, true);
    EXPECT_GE(heard, 0.95) << "with sound";
    EXPECT_LT(heard, 3.0) << "with sound";
}

// A game stuck where it never reads its input (as inside the library,
// waiting for a grab): the first quit signal only asks, a second ends the
// process by that signal at once, after saving a beaten best score. A
// signal the game was started with ignored stays ignored.
TEST(StartStop, SecondQuitSignalEndsAStuckGameAfterSavingTheBest)
{
    struct Case { int ignored, first, second; };
    for (Case c : { Case{ 0, SIGTERM, SIGTERM }, Case{ 0, SIGINT, SIGHUP }, Case{ SIGINT, SIGHUP, SIGHUP } }) {
        std::string dir = makeTempDir();
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            if (chdir(dir.c_str()) != 0)
                _exit(99);
            if (c.ignored)
                signal(c.ignored, SIG_IGN);
            highScoreFile = "high1";
            bestScoreKept = 1;
            highScore = 100;
            score = 4321;
            catchQuitSignals(saveBestScoreAtOnce);
            writeString("ready", "");
            bool told = false;
            for (;;) {
                if (quitSignalled && !told) {
                    writeString("asked", "");
                    told = true;
                }
                usleep(10000);
            }
        }
        // Whatever fails below, the child does not outlive the test.
        struct Reaper {
            pid_t pid;
            ~Reaper()
            {
                if (kill(pid, SIGKILL) == 0)
                    waitpid(pid, nullptr, 0);
            }
        } reaper{ pid };
        auto waitFile = [&](const char *name) {
            for (int i = 0; i < 300 && access((dir + "/" + name).c_str(), F_OK) != 0; i++)
                usleep(10000);
            return access((dir + "/" + name).c_str(), F_OK) == 0;
        };
        ASSERT_TRUE(waitFile("ready"));
        if (c.ignored) {
            kill(pid, c.ignored);
            kill(pid, c.ignored);
            usleep(300000);
            EXPECT_EQ(waitpid(pid, nullptr, WNOHANG), 0) << "an ignored signal ended the game";
            EXPECT_NE(access((dir + "/asked").c_str(), F_OK), 0);
        }
        kill(pid, c.first);
        EXPECT_TRUE(waitFile("asked")) << c.first;
        EXPECT_EQ(waitpid(pid, nullptr, WNOHANG), 0) << "the first signal ended the game";
        EXPECT_NE(access((dir + "/high1").c_str(), F_OK), 0);

        double sent = now();
        kill(pid, c.second);
        int st = 0;
        while (waitpid(pid, &st, WNOHANG) == 0 && now() - sent < 5)
            usleep(5000);
        double took = now() - sent;
        EXPECT_LT(took, 1.0) << c.second;
        EXPECT_TRUE(WIFSIGNALED(st) && WTERMSIG(st) == c.second) << std::hex << st;
        EXPECT_EQ(readString(dir + "/high1"), "4321");
    }
}
