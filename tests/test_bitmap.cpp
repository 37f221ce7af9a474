// Loading BMP pictures into the display format.
#include <gtest/gtest.h>
#include <stdlib.h>
#include "assets/bitmap.h"
#include "tests/support.h"

// An 8-bit palettised BMP: pixel (x, y) uses palette entry indexAt(x, y),
// and entry i of the 256-entry palette is palette(i) = 0xRRGGBB.
static void writeBmp8(const std::string &path, int w, int h,
                      const std::function<int(int, int)> &indexAt,
                      const std::function<uint32_t(int)> &palette)
{
    int rowBytes = (w + 3) & ~3;
    int offset = 54 + 256 * 4;
    std::vector<uint8_t> b;
    auto put16 = [&](unsigned v) { b.push_back(v & 255); b.push_back((v >> 8) & 255); };
    auto put32 = [&](unsigned v) { put16(v & 0xFFFF); put16(v >> 16); };
    b.push_back('B');
    b.push_back('M');
    put32(offset + rowBytes * h);
    put32(0);
    put32(offset);
    put32(40);
    put32(w);
    put32(h);
    put16(1);
    put16(8);
    put32(0);
    put32(rowBytes * h);
    put32(2835);
    put32(2835);
    put32(256);
    put32(0);
    for (int i = 0; i < 256; i++) {
        uint32_t c = palette(i);
        b.push_back(c & 255);
        b.push_back((c >> 8) & 255);
        b.push_back((c >> 16) & 255);
        b.push_back(0);
    }
    for (int y = h - 1; y >= 0; y--) {
        for (int x = 0; x < w; x++)
            b.push_back((uint8_t)indexAt(x, y));
        for (int p = w; p < rowBytes; p++)
            b.push_back(0);
    }
    writeBytes(path, b);
}

static uint32_t gradient(int x, int y) { return (x * 40) << 16 | (y * 30) << 8 | 0x55; }

// Runs in a child process, so that no video mode is set whatever the tests
// before it did in this process.
TEST(LoadBitmap, FailsBeforeVideoModeIsSet)
{
    std::string dir = makeTempDir();
    std::string path = dir + "/pic.bmp";
    writeBmp24(path, 4, 3, gradient);

    EXPECT_EXIT({
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        SDL_InitSubSystem(SDL_INIT_VIDEO);
        exit(loadBitmap(path.c_str()) == NULL ? 0 : 1);
    }, testing::ExitedWithCode(0), "");
}

TEST(LoadBitmap, MissingOrBrokenFileGivesNullSilently)
{
    ASSERT_NE(openTestVideo(), nullptr);
    std::string dir = makeTempDir();
    writeString(dir + "/junk.bmp", "this is not a bitmap");

    testing::internal::CaptureStdout();
    SDL_Surface *missing = loadBitmap((dir + "/nothere.bmp").c_str());
    SDL_Surface *junk = loadBitmap((dir + "/junk.bmp").c_str());
    std::string out = testing::internal::GetCapturedStdout();

    EXPECT_EQ(missing, nullptr);
    EXPECT_EQ(junk, nullptr);
    EXPECT_EQ(out, "");
}

TEST(LoadBitmap, ConvertsToDisplayFormatKeepingColours)
{
    SDL_Surface *screen = openTestVideo();
    ASSERT_NE(screen, nullptr);
    std::string dir = makeTempDir();
    writeBmp24(dir + "/rgb.bmp", 5, 4, gradient);
    writeBmp8(dir + "/pal.bmp", 6, 3,
              [](int x, int y) { return x + 6 * y; },
              [](int i) { return (uint32_t)(i * 13 % 256) << 16 | (uint32_t)(255 - i) << 8 | (uint32_t)i; });

    SDL_Surface *rgb = loadBitmap((dir + "/rgb.bmp").c_str());
    ASSERT_NE(rgb, nullptr);
    EXPECT_EQ(rgb->w, 5);
    EXPECT_EQ(rgb->h, 4);
    EXPECT_EQ(rgb->format->BitsPerPixel, 32);
    EXPECT_EQ(rgb->format->Rmask, screen->format->Rmask);
    EXPECT_EQ(rgb->format->Bmask, screen->format->Bmask);
    EXPECT_FALSE(rgb->flags & SDL_SRCCOLORKEY);
    for (int y = 0; y < 4; y++)
        for (int x = 0; x < 5; x++)
            EXPECT_EQ(pixelRGB(rgb, x, y), gradient(x, y)) << x << "," << y;

    SDL_Surface *pal = loadBitmap((dir + "/pal.bmp").c_str());
    ASSERT_NE(pal, nullptr);
    EXPECT_EQ(pal->format->BitsPerPixel, 32);
    EXPECT_EQ(pal->format->palette, nullptr);
    for (int y = 0; y < 3; y++)
        for (int x = 0; x < 6; x++) {
            int i = x + 6 * y;
            uint32_t want = (uint32_t)(i * 13 % 256) << 16 | (uint32_t)(255 - i) << 8 | (uint32_t)i;
            EXPECT_EQ(pixelRGB(pal, x, y), want) << x << "," << y;
        }

    SDL_FreeSurface(rgb);
    SDL_FreeSurface(pal);
}

TEST(LoadBitmap, TwoLoadsAreIndependent)
{
    ASSERT_NE(openTestVideo(), nullptr);
    std::string dir = makeTempDir();
    std::string path = dir + "/pic.bmp";
    writeBmp24(path, 3, 3, gradient);

    SDL_Surface *a = loadBitmap(path.c_str());
    SDL_Surface *b = loadBitmap(path.c_str());
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(a, b);
    EXPECT_NE(a->pixels, b->pixels);

    SDL_FillRect(a, NULL, SDL_MapRGB(a->format, 255, 255, 255));
    EXPECT_EQ(pixelRGB(a, 1, 1), 0xFFFFFFu);
    EXPECT_EQ(pixelRGB(b, 1, 1), gradient(1, 1));

    SDL_FreeSurface(a);
    EXPECT_EQ(pixelRGB(b, 2, 2), gradient(2, 2));
    SDL_FreeSurface(b);
}
