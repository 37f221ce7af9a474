// Starting and stopping the real game: no game data, no display, the exit
// with and without sound, and quit signals while the game is stuck.
#include <gtest/gtest.h>
#include <limits.h>
#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include "tests/support.h"
#include "tests/testinput.h"
#include "tools/assetgen/assetgen.h"
#include "game/gameroot.h"
#include "game/highscore.h"
#include "game/startup.h"
#include "platform/display.h"
#include "platform/signals.h"
#include "world/world.h"

// Before: the game went on with nothing loaded, an all-black game that only
// ESC ended (here it never ends).
TEST(StartStop, NoGameDataIsOneLineNamingThePlacesAndStatusOne)
{
    char real[PATH_MAX];
    std::string installed = installRootFor(realpath(DRIFTWING_PATH, real));
    ASSERT_NE(access((installed + "/data").c_str(), F_OK), 0) << installed << " holds data";
    std::string home = realpath(makeTempDir().c_str(), real);
    mkdir((home + "/data").c_str(), 0755);              // a data/ of the player's own
    writeString(home + "/data/letter.txt", "mine");
    const std::string hint = "; --data DIR chooses the folder that holds it";
    const std::string both = "driftwing: no game data found in " + home + " or " + installed + hint;
    // What the game said on standard error, after ending with status 1 and
    // nothing on standard output.
    auto said = [](const std::string &dir, std::vector<std::string> args) {
        args.insert(args.begin(), { "SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy", "--window" });
        GameChild g(dir, args);
        EXPECT_TRUE(g.waitEnd(30)) << "the game went on without data";
        EXPECT_EQ(g.status, 1);
        EXPECT_EQ(g.out(), "");
        return g.err();
    };
    EXPECT_EQ(said(home, {}), both + "\n");
    EXPECT_EQ(said(makeTempDir(), { "--data", home }), "driftwing: no game data found in " + home + hint + "\n");

    // Started from the source tree, the data `make play` made in run/ is named.
    ASSERT_TRUE(makeDirs(home + "/run/data/ship"));
    writeString(home + "/run/data/ship/info", "1\n");
    EXPECT_EQ(said(home, {}), both + " (`make play` made it in " + home + "/run: --data run)\n");
}

// Before: SDL 1.2 fell back to its text-mode driver, wrote escape sequences
// to the terminal and played there.
TEST(StartStop, NoDisplayIsOneLineAndStatusOneBeforeSdlStarts)
{
    std::string dir = someGameData();
    std::vector<std::vector<std::string>> refused = {
        { "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "-u", "SDL_VIDEODRIVER" },
        { "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER=", "DISPLAY=" },
    };
    // Classic SDL 1.2 has no Wayland driver; on SDL 2 the socket is enough.
    EXPECT_EQ(displayMissingFor(nullptr, nullptr, "wayland-0", true), nullptr);
    SDL_version v = linkedSdlVersion();
    if (SDL_VERSIONNUM(v.major, v.minor, v.patch) < SDL_VERSIONNUM(1, 2, 50))
        refused.push_back({ "-u", "DISPLAY", "-u", "SDL_VIDEODRIVER", "WAYLAND_DISPLAY=wayland-0" });
    for (auto env : refused) {
        std::string said = testing::PrintToString(env);
        env.insert(env.end(), { "SDL_AUDIODRIVER=dummy", "--window", "--nosound" });
        GameChild g(dir, env);
        ASSERT_TRUE(g.waitEnd(30)) << said << ": still running";
        EXPECT_EQ(g.status, 1) << said;
        EXPECT_EQ(g.err(), "driftwing: no graphical display: DISPLAY is not set\n") << said;
        EXPECT_EQ(g.out(), "") << said;
    }

    // A DISPLAY nobody answers at: one line, and nothing else on the
    // terminal (classic SDL's text-mode driver never gets to write).
    int number = 9000;
    while (access(("/tmp/.X11-unix/X" + std::to_string(number)).c_str(), F_OK) == 0
           || access(("/tmp/.X" + std::to_string(number) + "-lock").c_str(), F_OK) == 0)
        number++;
    std::string display = ":" + std::to_string(number);
    GameChild dead(dir, { "-u", "WAYLAND_DISPLAY", "-u", "SDL_VIDEODRIVER", "DISPLAY=" + display,
                          "SDL_AUDIODRIVER=dummy", "--window", "--nosound" });
    ASSERT_TRUE(dead.waitEnd(30)) << "still running on DISPLAY " << display;
    EXPECT_EQ(dead.status, 1);
    EXPECT_EQ(dead.out(), "driftwing: Unable to init SDL: no graphical display: cannot open DISPLAY "
                          + display + "\n");

    // A driver the player names is used without DISPLAY: the dummy one
    // plays until a quit signal ends the game. An audio driver that is not
    // there, or ALSA without a sound card, only costs the sound, with a
    // warning that names --nosound and none of ALSA's own lines.
    for (const char *audio : { "bogus", "alsa" }) {
        GameChild dummy(dir, { "-u", "DISPLAY", "SDL_VIDEODRIVER=dummy",
                               std::string("SDL_AUDIODRIVER=") + audio, "--window" });
        EXPECT_TRUE(takesQuitSignals(dummy.pid));
        kill(dummy.pid, SIGTERM);
        ASSERT_TRUE(dummy.waitEnd(30));
        EXPECT_EQ(dummy.status, 0) << audio;
        EXPECT_EQ(dummy.err().find("no graphical display"), std::string::npos) << dummy.err();
        EXPECT_EQ(dummy.err().find("ALSA lib"), std::string::npos) << dummy.err();
        std::string warning = dummy.out();
        if (warning.empty() && strcmp(audio, "alsa") == 0)
            continue;       // a machine with a sound card
        EXPECT_EQ(warning.rfind("driftwing: Warning: Couldn't set 44100 Hz 16-bit audio\n"
                                "driftwing: - Reason: ", 0), 0u) << warning;
        EXPECT_NE(warning.find("(--nosound starts without it)\n"), std::string::npos) << warning;
    }
}

// Seconds from a quit signal to the end of a game in play.
static double exitSeconds(const std::string &dir, bool sound)
{
    std::vector<std::string> args = { "SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy", "--window" };
    if (!sound)
        args.push_back("--nosound");
    GameChild g(dir, args);
    // Past the loading screen, into play (where the music starts).
    EXPECT_TRUE(inPlay(g.pid, 60));
    double sent = monotonicNow();
    kill(g.pid, SIGTERM);
    if (!g.waitEnd(30))
        return 99;
    EXPECT_EQ(g.status, 0) << g.out() << g.err();
    return g.endedAt - sent;
}

// Before: every exit waited a second for a fade, also with nothing to fade.
// The fade's second is told from the rest of an exit by comparing the two.
TEST(StartStop, ExitWaitsForTheFadeOnlyWhileSoundPlays)
{
    std::string dir = generatedPack(true);
    double silent = exitSeconds(dir, false);
    // The music plays on the dummy device: its fade is still heard out.
    double heard = exitSeconds(dir, true);
    EXPECT_GE(heard, 0.95) << "with sound";
    EXPECT_LT(heard, 10.0) << "with sound";
    EXPECT_LT(silent, heard - 0.5) << "--nosound";
    removeTree(dir);
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
            // What the main loop does every pass: the score changes, and the
            // best the last wish may save is published.
            for (bool told = false;; usleep(10000)) {
                score = 4321;
                publishRunBest();
                if (quitSignalled && !told) {
                    writeString("asked", "");
                    told = true;
                }
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
        auto there = [&](const char *name) { return access((dir + "/" + name).c_str(), F_OK) == 0; };
        ASSERT_TRUE(waitFor([&] { return there("ready"); }, 30));
        if (c.ignored) {
            kill(pid, c.ignored);
            kill(pid, c.ignored);
            usleep(300000);
            EXPECT_EQ(waitpid(pid, nullptr, WNOHANG), 0) << "an ignored signal ended the game";
            EXPECT_FALSE(there("asked"));
        }
        kill(pid, c.first);
        EXPECT_TRUE(waitFor([&] { return there("asked"); }, 30)) << c.first;
        EXPECT_EQ(waitpid(pid, nullptr, WNOHANG), 0) << "the first signal ended the game";
        EXPECT_FALSE(there("high1"));

        // At most a second for the last wish (a save with its fsync), then
        // the end; a busy machine gets room beyond that.
        double sent = monotonicNow();
        kill(pid, c.second);
        int st = 0;
        waitFor([&] { return waitpid(pid, &st, WNOHANG) == pid; }, 30);
        EXPECT_LT(monotonicNow() - sent, 5.0) << c.second;
        EXPECT_TRUE(WIFSIGNALED(st) && WTERMSIG(st) == c.second) << std::hex << st;
        EXPECT_EQ(readString(dir + "/high1"), "4321");
    }
}
