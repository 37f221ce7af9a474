// Helpers shared by the tests: a dummy-driver display, scratch directories
// and small fixture files made at run time.
#ifndef TESTS_SUPPORT_H
#define TESTS_SUPPORT_H

#include <string>
#include <vector>
#include <functional>
#include <stdint.h>
#include <SDL.h>

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

// Routes readTicks() to a value the test sets.
void useFakeTicks(Uint32 start);
void setFakeTicks(Uint32 now);

#endif
