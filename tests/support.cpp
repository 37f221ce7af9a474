#include "tests/support.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <gtest/gtest.h>
#include "core/ticks.h"
#include "platform/display.h"
#include "tools/assetgen/art.h"

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
    if (!want || !*want)
        return;
    FILE *maps = fopen("/proc/self/maps", "r");
    ASSERT_NE(maps, nullptr);
    char line[4096];
    bool found = false;
    while (!found && fgets(line, sizeof line, maps))
        found = strstr(line, want) != nullptr;
    fclose(maps);
    EXPECT_TRUE(found) << "this test does not run on " << want;
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
    FILE *f = fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    if (!bytes.empty())
        fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
}

void writeString(const std::string &path, const std::string &text)
{
    writeBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

std::string readString(const std::string &path)
{
    std::string out;
    FILE *f = fopen(path.c_str(), "rb");
    if (!f)
        return out;
    int c;
    while ((c = fgetc(f)) != EOF)
        out += (char)c;
    fclose(f);
    return out;
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

void setFakeTicks(Uint32 now) { fakeNow = now; }

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
