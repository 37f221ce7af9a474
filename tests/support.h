// Helpers shared by the tests: a dummy-driver display, scratch directories
// and small fixture files made at run time.
#ifndef TESTS_SUPPORT_H
#define TESTS_SUPPORT_H

#include <string>
#include <vector>
#include <functional>
#include <stdint.h>
#include <sys/types.h>
#include <SDL.h>
#include "core/passinput.h"

// Starts SDL video (the harness picks the dummy driver) and opens the game's
// 640x480x32 display once per process; returns the screen.
SDL_Surface *openTestVideo();

// With DRIFTWING_SDL_LIBRARY set (make test-compat), checks that this
// process has that SDL library mapped; openTestVideo checks it once.
void expectSdlLibrary();

// A fresh empty directory under the system's temp directory.
std::string makeTempDir();

void writeBytes(const std::string &path, const std::vector<uint8_t> &bytes);
void writeString(const std::string &path, const std::string &text);
std::string readString(const std::string &path);

// A 24-bit BMP whose pixel (x, y) has the colour colourAt(x, y) = 0xRRGGBB.
void writeBmp24(const std::string &path, int w, int h,
                const std::function<uint32_t(int, int)> &colourAt);

// The RGB colour (0xRRGGBB) of pixel (x, y) of any surface.
uint32_t pixelRGB(SDL_Surface *s, int x, int y);

// Runs a shell command and gives back what it printed on standard output;
// *status gets its exit status (-1 when it did not exit normally).
std::string runCommand(const std::string &cmd, int *status);

// Routes readTicks() to a fixed value.
void useFakeTicks(Uint32 start);

// Removes a scratch tree.
void removeTree(const std::string &dir);

// A fresh folder holding one piece of the game's data, enough for the game
// to take it as its root; its real path (no links).
std::string someGameData();

// The generated pictures, sprite sets and fonts (and sounds and music when
// withSound) in a fresh folder; empty when the generator failed.
std::string generatedPack(bool withSound);

// Waits up to `seconds` for done() to hold, looking every 10 ms.
bool waitFor(const std::function<bool()> &done, double seconds);

// Whether the process has taken the quit signals (it blocks them in every
// thread once its handler runs); a signal sent before that ends it the
// default way.
bool takesQuitSignals(pid_t pid);

// Whether the game has got past its loading screen into play: its main
// thread has slept 1.5 s at a stretch (the loading screen is 3 s) and then
// slept and woken dozens of times (the frame loop's short waits).
bool inPlay(pid_t pid, double seconds);

// Runs fn in a forked child, with standard output and error in
// prefix.out and prefix.err (when prefix is not empty), as the ordinary
// user nobody when asPlayer and running as root (where permission bits
// would not apply). Its exit status, or 128 + the signal that ended it.
int inChild(const std::function<int()> &fn, const std::string &prefix = "", bool asPlayer = false);

// The game binary as a child process, started in dir through env, so that
// each run sets what it needs ("-u NAME" unsets, "NAME=value" sets) before
// the game's own arguments (from the first that starts with "--").
// Standard output and error go to dir/out.txt and dir/err.txt; a game still
// running when the object goes is killed.
struct GameChild {
    pid_t pid = -1;
    std::string dir;
    int status = -1;        // the exit status, or 128 + the signal that ended it
    double endedAt = 0;     // monotonic seconds
    GameChild(const std::string &folder, const std::vector<std::string> &envAndArgs);
    ~GameChild();
    bool waitEnd(double seconds);   // false when it is still running
    std::string out() const { return readString(dir + "/out.txt"); }
    std::string err() const { return readString(dir + "/err.txt"); }
};

// Runs the game with args (as the shell reads them) in dir to its end, with
// env (NAME=value ...) before it; its exit status, with what it wrote on
// standard output and error.
int runGameIn(const std::string &dir, const std::string &args, std::string *out, std::string *err,
              const std::string &env = "");

// A fresh game in play on the test display: no bullets or enemies, five
// lives, no score, the ship at (100, 200) and hittable, no key held, and a
// still pass at 1000 ms.
void startTestGame();

// The live input of one pass, 10 ms after the one before.
PassInput readLivePass();

// The bullets in flight.
int flyingBullets();

// Seconds on the monotonic clock.
double monotonicNow();

#endif
