// demogen DATA OUT: makes the golden demos from their scripts and writes the
// values expected from playing them.
//   DATA  a data pack made by assetgen
//   OUT   where name.demo and name.expected go (tests/demos in the tree)
// Each demo is recorded and then played in a process of its own, so that
// every run starts from a fresh game, as the game itself does.
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>
#include <dirent.h>
#include <sys/wait.h>
#include <string>
#include "demo/demo.h"
#include "game/options.h"
#include "game/startup.h"
#include "world/world.h"
#include "tools/demogen/golden.h"
#include "tools/demogen/scripts.h"

static int recordScript(const DemoScript &s, const std::string &path)
{
    options.recordFile = path.c_str();
    if (openDemo() >= 0)
        return 1;
    randomSeed = s.seed;
    randomSeedFixed = 1;
    // A script's game starts from its own best, never from a file.
    bestScoreKept = 0;
    startSystems();
    highScore = s.best;
    loadAssets();
    recordPasses(s.next, scriptClock, 0);
    const ScriptCoverage &c = coverage;
    printf("%s: hits %d, kills %d (%d of several-hit enemies), wavy enemies %d, lives lost %d "
           "(crashes %d, collisions %d), game overs %d, restarts %d, paused passes %d, "
           "god-mode passes %d, debug score passes %d, debug lives %d\n",
           s.name, c.hits, c.kills, c.multiHitKills, c.wavyEnemies, c.livesLost, c.crashes,
           c.collisions, c.gameOvers, c.restarts, c.pausedPasses, c.godPasses, c.debugScore,
           c.debugLives);
    return demoExitStatus();
}

static int writeExpected(const std::string &demo, const std::string &path)
{
    GoldenResult r;
    if (!playGolden(demo, &r))
        return 1;
    FILE *f = fopen(path.c_str(), "w");
    if (!f)
        return 1;
    std::string text = formatExpected(r);
    fwrite(text.data(), 1, text.size(), f);
    return fclose(f) == 0 ? 0 : 1;
}

// Runs one step in a child process; true when it exited with 0.
template <typename F> static bool inChild(F step)
{
    fflush(stdout);
    pid_t pid = fork();
    if (pid == 0) {
        int rc = step();
        fflush(stdout);
        _exit(rc);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

int main(int argc, char **argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: demogen DATA OUT\n");
        return 2;
    }
    char *out = realpath(argv[2], nullptr);
    if (!out || chdir(argv[1]) != 0) {
        fprintf(stderr, "demogen: no directory %s or %s\n", argv[1], argv[2]);
        return 2;
    }
    // A tool, not the game: it always runs headless.
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    for (int i = 0; i < demoScriptCount; i++) {
        const DemoScript &s = demoScripts[i];
        std::string base = std::string(out) + "/" + s.name;
        if (!inChild([&] { return recordScript(s, base + ".demo"); })
            || !inChild([&] { return writeExpected(base + ".demo", base + ".expected"); })) {
            fprintf(stderr, "demogen: %s failed\n", s.name);
            return 1;
        }
    }
    // Demos kept in v1/ as an older format version recorded them are never
    // recorded again; only what playing them gives is written anew.
    std::string kept = std::string(out) + "/v1";
    if (DIR *d = opendir(kept.c_str())) {
        while (dirent *e = readdir(d)) {
            std::string name = e->d_name;
            if (name.size() < 6 || name.compare(name.size() - 5, 5, ".demo") != 0)
                continue;
            std::string base = kept + "/" + name.substr(0, name.size() - 5);
            if (!inChild([&] { return writeExpected(base + ".demo", base + ".expected"); })) {
                fprintf(stderr, "demogen: v1/%s failed\n", name.c_str());
                closedir(d);
                return 1;
            }
        }
        closedir(d);
    }
    free(out);
    return 0;
}
