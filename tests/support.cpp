#include "tests/support.h"

#include <stdio.h>
#include <stdlib.h>
#include <gtest/gtest.h>
#include "game/ticks.h"

SDL_Surface *openTestVideo()
{
    static SDL_Surface *screen;
    if (!screen) {
        if (SDL_Init(SDL_INIT_VIDEO) < 0)
            ADD_FAILURE() << "SDL_Init: " << SDL_GetError();
        screen = SDL_SetVideoMode(640, 480, 32, SDL_FULLSCREEN);
        if (!screen)
            ADD_FAILURE() << "SDL_SetVideoMode: " << SDL_GetError();
    }
    return screen;
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

static void put16(std::vector<uint8_t> &b, unsigned v) { b.push_back(v & 255); b.push_back((v >> 8) & 255); }
static void put32(std::vector<uint8_t> &b, unsigned v) { put16(b, v & 0xFFFF); put16(b, v >> 16); }

void writeBmp24(const std::string &path, int w, int h,
                const std::function<uint32_t(int, int)> &colourAt)
{
    int rowBytes = (w * 3 + 3) & ~3;
    std::vector<uint8_t> b;
    b.push_back('B');
    b.push_back('M');
    put32(b, 54 + rowBytes * h);
    put32(b, 0);
    put32(b, 54);
    put32(b, 40);
    put32(b, w);
    put32(b, h);
    put16(b, 1);
    put16(b, 24);
    put32(b, 0);
    put32(b, rowBytes * h);
    put32(b, 2835);
    put32(b, 2835);
    put32(b, 0);
    put32(b, 0);
    for (int y = h - 1; y >= 0; y--) {
        for (int x = 0; x < w; x++) {
            uint32_t c = colourAt(x, y);
            b.push_back(c & 255);
            b.push_back((c >> 8) & 255);
            b.push_back((c >> 16) & 255);
        }
        for (int p = w * 3; p < rowBytes; p++)
            b.push_back(0);
    }
    writeBytes(path, b);
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
