// Sprite sets read from a directory and its "info" file.
#include <gtest/gtest.h>
#include <string.h>
#include <sys/stat.h>
#include "assets/spriteset.h"
#include "tests/support.h"

static uint32_t plain(int, int) { return 0x336699; }

// A set directory with the given info text and w x h frame bitmaps.
static std::string makeSet(const std::string &info, std::initializer_list<const char *> frames,
                           int w = 4, int h = 3)
{
    std::string dir = makeTempDir();
    writeString(dir + "/info", info);
    for (const char *name : frames)
        writeBmp24(dir + "/" + name, w, h, plain);
    return dir;
}

// The frame's colour key as 0xRRGGBB, or -1 when it has none.
static long keyOf(const SpriteFrame &f)
{
    if (!(f.surface->flags & SDL_SRCCOLORKEY))
        return -1;
    Uint8 r, g, b;
    SDL_GetRGB(f.surface->format->colorkey, f.surface->format, &r, &g, &b);
    return (r << 16) | (g << 8) | b;
}

// Every entry below frameCount must hold a surface; the sprite draws them all.
static void expectAllFramesPresent(const SpriteSet &set)
{
    for (int i = 0; i < set.frameCount; i++)
        EXPECT_NE(set.frames[i].surface, nullptr) << "frame " << i;
}

class SpriteSetTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_NE(openTestVideo(), nullptr); memset(&set, 0, sizeof(set)); }
    void TearDown() override { freeSpriteSet(&set); }
    SpriteSet set;
};

TEST_F(SpriteSetTest, ReadsFramesDelaysAndKeys)
{
    std::string dir = makeSet(
        "FILES:4\n"
        "# the ship\n"
        "\n"
        "\r\n"
        "a.bmp 100 -1 255 0\r\n"
        "b.bmp 50 255 0 255\n"
        "  c.bmp 70 256 -1 0\n"
        "d.bmp\n",
        { "a.bmp", "b.bmp", "c.bmp", "d.bmp" });

    EXPECT_EQ(loadSpriteSet(&set, dir.c_str()), 0);
    EXPECT_EQ(set.loaded, 1);
    ASSERT_EQ(set.frameCount, 4);
    expectAllFramesPresent(set);

    EXPECT_EQ(set.frames[0].delay, 100);
    EXPECT_EQ(keyOf(set.frames[0]), -1);           // red -1: no key at all
    EXPECT_EQ(set.frames[1].delay, 50);
    EXPECT_EQ(keyOf(set.frames[1]), 0xFF00FF);     // magenta
    EXPECT_EQ(set.frames[2].delay, 70);
    EXPECT_EQ(keyOf(set.frames[2]), 0x00FF00);     // each component's low 8 bits
    EXPECT_EQ(set.frames[3].delay, 70);            // carried over
    EXPECT_EQ(keyOf(set.frames[3]), 0x00FF00);
    EXPECT_EQ(set.frames[3].surface->format->BitsPerPixel, 32);
}

TEST_F(SpriteSetTest, NameOnlyLinesTakeEarlierNumbers)
{
    // before any frame line the numbers are 0: delay 0 and a black key
    std::string dir = makeSet("FILES: 4\n"
                              "a.bmp\n"
                              "b.bmp 80 0 0 0\n"
                              "c.bmp\n"
                              "d.bmp 90 -1 x 7\n",
                              { "a.bmp", "b.bmp", "c.bmp", "d.bmp" });

    EXPECT_EQ(loadSpriteSet(&set, dir.c_str()), 0);
    ASSERT_EQ(set.frameCount, 4);
    EXPECT_EQ(set.frames[0].delay, 0);
    EXPECT_EQ(keyOf(set.frames[0]), 0x000000);
    EXPECT_EQ(set.frames[2].delay, 80);
    EXPECT_EQ(keyOf(set.frames[2]), 0x000000);
    EXPECT_EQ(set.frames[3].delay, 90);
    EXPECT_EQ(keyOf(set.frames[3]), -1);
}

TEST_F(SpriteSetTest, FrameSizeComesFromFirstFrame)
{
    std::string dir = makeTempDir();
    writeString(dir + "/info", "FILES: 2\nsmall.bmp\nbig.bmp\n");
    writeBmp24(dir + "/small.bmp", 5, 7, plain);
    writeBmp24(dir + "/big.bmp", 20, 30, plain);

    EXPECT_EQ(loadSpriteSet(&set, dir.c_str()), 0);
    EXPECT_EQ(set.frameWidth, 5);
    EXPECT_EQ(set.frameHeight, 7);
    EXPECT_EQ(set.frames[1].surface->w, 20);
}

TEST_F(SpriteSetTest, CountDecidesHowManyLinesAreRead)
{
    // more frame lines than announced: the rest is never read, so a missing
    // bitmap behind the third line does no harm
    std::string more = makeSet("FILES: 3\na.bmp 1\nb.bmp 2\nc.bmp 3\nmissing.bmp 4\nd.bmp 5\n",
                               { "a.bmp", "b.bmp", "c.bmp", "d.bmp" });
    EXPECT_EQ(loadSpriteSet(&set, more.c_str()), 0);
    ASSERT_EQ(set.frameCount, 3);
    EXPECT_EQ(set.frames[2].delay, 3);
    freeSpriteSet(&set);

    // fewer: the count drops to the frames there are
    std::string fewer = makeSet("FILES: 5\na.bmp 1\n\nb.bmp 2", { "a.bmp", "b.bmp" });
    EXPECT_EQ(loadSpriteSet(&set, fewer.c_str()), 0);
    EXPECT_EQ(set.loaded, 1);
    EXPECT_EQ(set.frameCount, 2);
    expectAllFramesPresent(set);
    EXPECT_EQ(set.frames[1].delay, 2);
    freeSpriteSet(&set);

    // a line of blanks names no bitmap and uses up no frame
    std::string blanks = makeSet("FILES: 2\n  \t \na.bmp 1\n   \r\nb.bmp 2\n", { "a.bmp", "b.bmp" });
    EXPECT_EQ(loadSpriteSet(&set, blanks.c_str()), 0);
    ASSERT_EQ(set.frameCount, 2);
    expectAllFramesPresent(set);
    EXPECT_EQ(set.frames[1].delay, 2);
}

TEST_F(SpriteSetTest, FirstLineIsAlwaysTheCountLine)
{
    // a first line that is not a FILES line, even a comment, loads nothing
    std::string comment = makeSet("# FILES: 1\na.bmp 1\n", { "a.bmp" });
    EXPECT_EQ(loadSpriteSet(&set, comment.c_str()), 0);
    EXPECT_EQ(set.loaded, 1);
    EXPECT_EQ(set.frameCount, 0);
    freeSpriteSet(&set);

    std::string zero = makeSet("FILES: 0\na.bmp 1\n", { "a.bmp" });
    EXPECT_EQ(loadSpriteSet(&set, zero.c_str()), 0);
    EXPECT_EQ(set.loaded, 1);
    EXPECT_EQ(set.frameCount, 0);
    freeSpriteSet(&set);

    std::string empty = makeSet("", {});
    EXPECT_EQ(loadSpriteSet(&set, empty.c_str()), 0);
    EXPECT_EQ(set.loaded, 1);
    EXPECT_EQ(set.frameCount, 0);
}

TEST_F(SpriteSetTest, BrokenCountsAreRefused)
{
    const char *infos[] = { "FILES: -3\na.bmp\n", "FILES: 1025\na.bmp\n",
                            "FILES: 2147483647\na.bmp\n" };
    for (const char *info : infos) {
        std::string dir = makeSet(info, { "a.bmp" });
        EXPECT_EQ(loadSpriteSet(&set, dir.c_str()), -1) << info;
        EXPECT_EQ(set.loaded, 0) << info;
        EXPECT_EQ(set.frames, nullptr) << info;
        EXPECT_EQ(set.frameCount, 0) << info;
    }

    // the largest count allowed is still taken
    std::string dir = makeSet("FILES: 1024\na.bmp\n", { "a.bmp" });
    EXPECT_EQ(loadSpriteSet(&set, dir.c_str()), 0);
    EXPECT_EQ(set.frameCount, 1);
}

TEST_F(SpriteSetTest, MissingBitmapStopsWithFramesSoFar)
{
    std::string dir = makeSet("FILES: 4\na.bmp 10\nb.bmp 20\ngone.bmp 30\nc.bmp 40\n",
                              { "a.bmp", "b.bmp", "c.bmp" });
    writeString(dir + "/notbmp.bmp", "garbage");

    testing::internal::CaptureStdout();
    EXPECT_EQ(loadSpriteSet(&set, dir.c_str()), -1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(set.loaded, 1);
    EXPECT_EQ(set.frameCount, 2);
    expectAllFramesPresent(set);
    EXPECT_EQ(set.frames[1].delay, 20);
    freeSpriteSet(&set);

    // a file that is no bitmap fails the same way, here as the first frame
    writeString(dir + "/info", "FILES: 2\nnotbmp.bmp 10\na.bmp\n");
    EXPECT_EQ(loadSpriteSet(&set, dir.c_str()), -1);
    EXPECT_EQ(set.loaded, 1);
    EXPECT_EQ(set.frameCount, 0);
}

TEST_F(SpriteSetTest, MissingInfoPrintsOnceAndLeavesSetAlone)
{
    std::string dir = makeTempDir();
    set.frameWidth = 7;

    testing::internal::CaptureStdout();
    EXPECT_EQ(loadSpriteSet(&set, dir.c_str()), -1);
    std::string out = testing::internal::GetCapturedStdout();

    EXPECT_EQ(out, "ERROR opening file " + dir + "/info\n\n");
    EXPECT_EQ(set.loaded, 0);
    EXPECT_EQ(set.frames, nullptr);
    EXPECT_EQ(set.frameWidth, 7);
}

// A real directory whose full path is exactly len characters long.
static std::string makeDirOfLength(size_t len)
{
    std::string base = makeTempDir();
    std::string dir = base + "/" + std::string(len - base.size() - 1, 'd');
    EXPECT_EQ(mkdir(dir.c_str(), 0700), 0);
    return dir;
}

TEST_F(SpriteSetTest, OverlongPathsAreRefused)
{
    // 250 characters plus "/info" still fit the 256-byte path
    std::string fits = makeDirOfLength(250);
    writeString(fits + "/info", "FILES: 0\n");
    EXPECT_EQ(loadSpriteSet(&set, fits.c_str()), 0);
    EXPECT_EQ(set.loaded, 1);
    freeSpriteSet(&set);

    // one more does not: refused like an unreadable info file
    std::string longer = makeDirOfLength(251);
    writeString(longer + "/info", "FILES: 0\n");
    testing::internal::CaptureStdout();
    EXPECT_EQ(loadSpriteSet(&set, longer.c_str()), -1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "ERROR opening file " + longer + "/info\n\n");
    EXPECT_EQ(set.loaded, 0);
    EXPECT_EQ(set.frames, nullptr);

    // a frame whose path would not fit fails like a missing bitmap, although
    // the file is there: 245 + 1 + 9 characters fit, one more does not
    std::string dir = makeDirOfLength(245);
    writeString(dir + "/info", "FILES: 2\nabcde.bmp 5\nabcdef.bmp 5\n");
    writeBmp24(dir + "/abcde.bmp", 2, 2, plain);
    writeBmp24(dir + "/abcdef.bmp", 2, 2, plain);
    EXPECT_EQ(loadSpriteSet(&set, dir.c_str()), -1);
    EXPECT_EQ(set.loaded, 1);
    EXPECT_EQ(set.frameCount, 1);
}

TEST_F(SpriteSetTest, LongLinesAreReadInPieces)
{
    // a name longer than a line is split into pieces; none overruns the
    // name buffer, and the first piece names no loadable file
    std::string dir = makeSet("FILES: 1\n" + std::string(600, 'n') + ".bmp 5\n", {});
    EXPECT_EQ(loadSpriteSet(&set, dir.c_str()), -1);
    EXPECT_EQ(set.loaded, 1);
    EXPECT_EQ(set.frameCount, 0);
}

TEST(FreeSpriteSet, ZeroesTheSet)
{
    ASSERT_NE(openTestVideo(), nullptr);
    std::string dir = makeSet("FILES: 2\na.bmp 1\nb.bmp 2\n", { "a.bmp", "b.bmp" });
    SpriteSet set;
    memset(&set, 0, sizeof(set));
    ASSERT_EQ(loadSpriteSet(&set, dir.c_str()), 0);
    freeSpriteSet(&set);
    EXPECT_EQ(set.frames, nullptr);
    EXPECT_EQ(set.loaded, 0);
    EXPECT_EQ(set.frameCount, 0);
    EXPECT_EQ(set.frameWidth, 0);
    freeSpriteSet(&set);    // a second release is harmless
    freeSpriteSet(NULL);
}
