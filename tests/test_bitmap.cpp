// Loading BMP pictures into the display format.
#include <gtest/gtest.h>
#include <stdlib.h>
#include "assets/bitmap.h"
#include "tests/support.h"
#include "platform/surface.h"
#include "tests/testinput.h"

static uint32_t gradient(int x, int y) { return (x * 40) << 16 | (y * 30) << 8 | 0x55; }
static uint32_t paletteColour(int i) { return (i * 13 % 256) << 16 | (255 - i) << 8 | i; }

// A 6 x 3 8-bit palettised BMP whose pixel (x, y) uses palette entry x + 6 * y.
static void writeBmp8(const std::string &path)
{
    SDL_Surface *s = SDL_CreateRGBSurface(SDL_SWSURFACE, 6, 3, 8, 0, 0, 0, 0);
    for (int i = 0; i < 18; i++) {
        SDL_Color c = { Uint8(paletteColour(i) >> 16), Uint8(paletteColour(i) >> 8), Uint8(i), 0 };
        setPaletteColour(s, i, c);
        ((Uint8 *)s->pixels)[i / 6 * s->pitch + i % 6] = (Uint8)i;
    }
    ASSERT_EQ(SDL_SaveBMP(s, path.c_str()), 0);
    SDL_FreeSurface(s);
}

// Runs in a child process, so that no video mode is set whatever the tests
// before it did in this process.
TEST(LoadBitmap, FailsBeforeVideoModeIsSet)
{
    std::string path = makeTempDir() + "/pic.bmp";
    writeBmp24(path, 4, 3, gradient);
    EXPECT_EXIT({
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        SDL_InitSubSystem(SDL_INIT_VIDEO);
        exit(loadBitmap(path.c_str()) == NULL ? 0 : 1);
    }, testing::ExitedWithCode(0), "");
}

// Both a true-colour and a palettised picture come back as 32-bit copies in
// the display's format; a missing or broken file gives null without a word.
TEST(LoadBitmap, ConvertsToDisplayFormatOrGivesNullSilently)
{
    ASSERT_NE(openTestVideo(), nullptr);
    std::string dir = makeTempDir();
    writeBmp24(dir + "/rgb.bmp", 6, 3, gradient);
    writeBmp8(dir + "/pal.bmp");
    writeString(dir + "/junk.bmp", "this is not a bitmap");
    testing::internal::CaptureStdout();
    EXPECT_EQ(loadBitmap((dir + "/nothere.bmp").c_str()), nullptr);
    EXPECT_EQ(loadBitmap((dir + "/junk.bmp").c_str()), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    SDL_Surface *rgb = loadBitmap((dir + "/rgb.bmp").c_str());
    SDL_Surface *pal = loadBitmap((dir + "/pal.bmp").c_str());
    for (SDL_Surface *s : { rgb, pal }) {
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->format->BitsPerPixel, 32);
        EXPECT_TRUE(s->w == 6 && s->h == 3);
        EXPECT_FALSE(blendsPixelAlpha(s));      // an opaque picture is copied
    }
    for (int y = 0; y < 3; y++)
        for (int x = 0; x < 6; x++) {
            EXPECT_EQ(pixelRGB(rgb, x, y), gradient(x, y)) << x << "," << y;
            EXPECT_EQ(pixelRGB(pal, x, y), paletteColour(x + 6 * y)) << x << "," << y;
        }
    SDL_FreeSurface(rgb);
    SDL_FreeSurface(pal);
}

// A header claiming a huge picture is refused before SDL allocates for it
// (its 16-bit row pitch would wrap at such widths); the pictures of the test
// above show that one within the limits still decodes.
TEST(LoadBitmap, HugeClaimsAreRefusedBeforeDecoding)
{
    ASSERT_NE(openTestVideo(), nullptr);
    // "BM", file size, reserved, pixel offset, then the info header.
    // The core header (12 bytes) has 16-bit sizes, planes and depth.
    auto header = [](uint32_t infoSize, int32_t w, int32_t h) {
        std::vector<uint8_t> b(54, 0);
        auto put = [&](int at, uint32_t v, int n) { for (int i = 0; i < n; i++) b[at + i] = (v >> (8 * i)) & 255; };
        b[0] = 'B'; b[1] = 'M'; b[10] = 54;
        put(14, infoSize, 4);
        int n = infoSize == 12 ? 2 : 4;
        put(18, (uint32_t)w, n);
        put(18 + n, (uint32_t)h, n);
        put(18 + 2 * n, 1, 2);        // one plane
        put(20 + 2 * n, 24, 2);       // 24 bits a pixel
        return b;
    };
    const struct { uint32_t info; int32_t w, h; } huge[] = {
        { 40, 60000, 60000 }, { 40, 16001, 1 }, { 40, 1, -60000 }, { 40, 8000, 8000 },
        { 40, 1, INT32_MIN }, { 12, 65535, 65535 }, { 40, 1, 16001 }, { 12, 16001, 1 }, { 12, 1, 16001 },
    };
    for (const auto &c : huge) {
        std::vector<uint8_t> b = header(c.info, c.w, c.h);
        // Where it is small, the picture's rows follow, so that only the
        // limit can refuse it.
        int64_t need = 54 + (int64_t)((c.w * 3 + 3) & ~3) * (c.h < 0 ? -(int64_t)c.h : c.h);
        if (need < (1 << 20))
            b.resize(need, 0);
        EXPECT_EQ(decodeBitmap(SDL_RWFromConstMem(b.data(), (int)b.size())), nullptr) << c.w << "x" << c.h;
    }
    EXPECT_EQ(decodeBitmap(NULL), nullptr);
    // A depth no BMP has (here 4097 bits) made SDL crash converting it.
    std::vector<uint8_t> odd = header(12, 2, 2);
    odd[24] = 0x01; odd[25] = 0x10;
    odd.insert(odd.end(), 16, 0x30);
    EXPECT_EQ(loadBitmapRW(SDL_RWFromConstMem(odd.data(), (int)odd.size())), nullptr);
}
