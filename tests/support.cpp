#include "tests/support.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <limits.h>
#include <signal.h>
#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <gtest/gtest.h>
#include "core/ticks.h"
#include "platform/display.h"
#include "platform/input.h"
#include "game/loop.h"
#include "world/world.h"
#include "tests/testinput.h"
#include "tools/assetgen/art.h"
#include "tools/assetgen/assetgen.h"

SDL_Surface *openTestVideo()
{
    static SDL_Surface *screen;
    if (!screen) {
        if (SDL_Init(SDL_INIT_VIDEO) < 0)
            ADD_FAILURE() << "SDL_Init: " << SDL_GetError();
        screen = openDisplay(1, true);
        if (!screen)
            ADD_FAILURE() << "openDisplay: " << SDL_GetError();
        expectSdlLibrary();
    }
    return screen;
}

void expectSdlLibrary()
{
    const char *want = getenv("DRIFTWING_SDL_LIBRARY");
    if (want && *want) {
        EXPECT_NE(readString("/proc/self/maps").find(want), std::string::npos) << "this test does not run on " << want;
    }
}

std::string makeTempDir()
{
    char name[] = "/tmp/driftwing-test-XXXXXX";
    if (!mkdtemp(name))
        ADD_FAILURE() << "mkdtemp failed";
    return name;
}

void writeBytes(const std::string &path, const std::vector<uint8_t> &bytes)
{
    EXPECT_TRUE(std::ofstream(path, std::ios::binary).write((const char *)bytes.data(), bytes.size())) << path;
}

void writeString(const std::string &path, const std::string &text)
{
    writeBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

std::string readString(const std::string &path)
{
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

// Test pictures go through the generator's own BMP writer.
void writeBmp24(const std::string &path, int w, int h,
                const std::function<uint32_t(int, int)> &colourAt)
{
    art::Image img(w, h, art::rgb(0, 0, 0));
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            uint32_t c = colourAt(x, y);
            img.at(x, y) = art::rgb(c >> 16, (c >> 8) & 255, c & 255);
        }
    writeBytes(path, art::encodeBmp(img));
}

uint32_t pixelRGB(SDL_Surface *s, int x, int y)
{
    SDL_LockSurface(s);
    Uint8 *p = (Uint8 *)s->pixels + y * s->pitch + x * s->format->BytesPerPixel;
    Uint32 v = 0;
    switch (s->format->BytesPerPixel) {
    case 1: v = *p; break;
    case 2: v = *(Uint16 *)p; break;
    case 3: v = p[0] | (p[1] << 8) | (p[2] << 16); break;
    default: v = *(Uint32 *)p; break;
    }
    SDL_UnlockSurface(s);
    Uint8 r, g, b;
    SDL_GetRGB(v, s->format, &r, &g, &b);
    return (r << 16) | (g << 8) | b;
}

static Uint32 fakeNow;
static Uint32 fakeTicks(void) { return fakeNow; }

void useFakeTicks(Uint32 start)
{
    fakeNow = start;
    tickSource = fakeTicks;
}

std::string runCommand(const std::string &cmd, int *status)
{
    std::string out;
    FILE *p = popen(cmd.c_str(), "r");
    if (!p)
        return out;
    char buf[256];
    while (fgets(buf, sizeof buf, p))
        out += buf;
    int st = pclose(p);
    *status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return out;
}

void removeTree(const std::string &dir)
{
    if (dir.size() > 5 && system(("rm -rf '" + dir + "'").c_str()) != 0)
        ADD_FAILURE() << "cannot remove " << dir;
}

std::string someGameData()
{
    std::string dir = std::filesystem::canonical(makeTempDir());
    EXPECT_TRUE(makeDirs(dir + "/data/ship"));
    writeString(dir + "/data/ship/info", "1\n");
    return dir;
}

std::string generatedPack(bool withSound)
{
    std::string pack = makeTempDir();
    bool made = makeDirs(pack + "/data/sound") && makeDirs(pack + "/Data") && makePictures(pack)
                && makeSpriteSets(pack) && makeFonts(pack) && (!withSound || (makeSounds(pack) && makeMusic(pack)));
    EXPECT_TRUE(made) << "the generator failed in " << pack;
    return made ? pack : "";
}

double monotonicNow()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

bool waitFor(const std::function<bool()> &done, double seconds)
{
    for (double until = monotonicNow() + seconds; !done(); usleep(10000))
        if (monotonicNow() > until)
            return done();
    return true;
}

// A number from a "Name: value" line of /proc/<pid>/status (or of a
// thread's), in the given base; 0 when it cannot be read.
static unsigned long long statusField(const std::string &path, const char *name, int base)
{
    std::string text = "\n" + readString(path);
    size_t at = text.find("\n" + std::string(name));
    return at == std::string::npos ? 0 : strtoull(text.c_str() + at + 1 + strlen(name), nullptr, base);
}

bool takesQuitSignals(pid_t pid)
{
    // Only the game's own mask counts: a child still between fork and exec
    // may hold the signals blocked for a moment (a sanitizer's fork does).
    std::string path = "/proc/" + std::to_string(pid) + "/status";
    std::string exe = "/proc/" + std::to_string(pid) + "/exe";
    std::error_code err;
    std::filesystem::path game = std::filesystem::weakly_canonical(DRIFTWING_PATH, err);
    return waitFor([&] {
        if (std::filesystem::read_symlink(exe, err) != game)
            return false;
        return (statusField(path, "SigBlk:", 16) & (1ull << (SIGTERM - 1))) != 0;
    }, 30);
}

bool inPlay(pid_t pid, double seconds)
{
    std::string path = "/proc/" + std::to_string(pid) + "/task/" + std::to_string(pid) + "/status";
    auto switches = [&] { return statusField(path, "voluntary_ctxt_switches:", 10); };
    unsigned long long seen = switches();
    double still = monotonicNow();
    bool slept = false;
    return waitFor([&] {
        unsigned long long now = switches();
        if (!slept && now != seen) {
            seen = now;
            still = monotonicNow();
        }
        if (!slept && monotonicNow() - still > 1.5) {
            slept = true;
            seen = now;
        }
        return slept && now > seen + 50;
    }, seconds);
}

int inChild(const std::function<int()> &fn, const std::string &prefix, bool asPlayer)
{
    fflush(stdout);
    fflush(stderr);
    pid_t pid = fork();
    if (pid == 0) {
        if (!prefix.empty() && (!freopen((prefix + ".out").c_str(), "w", stdout)
                                || !freopen((prefix + ".err").c_str(), "w", stderr)))
            _exit(99);
        if (asPlayer && geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(99);
        int status = fn();
        fflush(stdout);
        fflush(stderr);
        _exit(status);
    }
    int st = 0;
    waitpid(pid, &st, 0);
    return WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
}

GameChild::GameChild(const std::string &folder, const std::vector<std::string> &envAndArgs) : dir(folder)
{
    // The game goes before its first own argument, after what env reads.
    std::vector<std::string> argv = { "env" };
    argv.insert(argv.end(), envAndArgs.begin(), envAndArgs.end());
    argv.insert(std::find_if(argv.begin() + 1, argv.end(), [](const std::string &a) { return a.rfind("--", 0) == 0; }),
                DRIFTWING_PATH);
    pid = fork();
    if (pid == 0) {
        if (chdir(dir.c_str()) != 0 || !freopen("/dev/null", "r", stdin) || !freopen("out.txt", "w", stdout)
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

GameChild::~GameChild()
{
    if (pid > 0 && status < 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
}

bool GameChild::waitEnd(double seconds)
{
    return waitFor([&] {
        int st;
        if (status >= 0 || waitpid(pid, &st, WNOHANG) != pid)
            return status >= 0;
        endedAt = monotonicNow();
        status = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
        return true;
    }, seconds);
}

int runGameIn(const std::string &dir, const std::string &args, std::string *out, std::string *err,
              const std::string &env)
{
    int status = -1;
    runCommand("cd '" + dir + "' && " + env + " " + DRIFTWING_PATH + " " + args + " >out.txt 2>err.txt",
               &status);
    *out = readString(dir + "/out.txt");
    *err = readString(dir + "/err.txt");
    return status;
}

void startTestGame()
{
    screen = openTestVideo();
    releaseAllKeys();
    for (int i = 0; i < maxEnemies; i++)
        enemyActive[i] = bulletActive[i] = 0;
    lives = 5;
    gameOver = paused = godMode = score = highScore = 0;
    distance = 0.0;
    lastHitAt = lastSpawnAt = 0;
    player.setPos(100.0f, 200.0f);
    player.setDelayFactor(1.0f);
    lastTicks = 1000;
    runFramePass(1000);  // a still pass: drops any carried step
}

PassInput readLivePass()
{
    static Uint32 t = 1000;
    PassInput in;
    readLiveInput(&in, t += 10);
    return in;
}

int flyingBullets()
{
    int n = 0;
    for (int i = 0; i < maxBullets; i++)
        n += bulletActive[i] == 1;
    return n;
}
