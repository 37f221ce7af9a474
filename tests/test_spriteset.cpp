// Sprite sets read from a directory and its "info" file.
#include <gtest/gtest.h>
#include <tuple>
#include <string.h>
#include <sys/stat.h>
#include "assets/spriteset.h"
#include "tests/support.h"
#include "platform/surface.h"

static uint32_t plain(int, int) { return 0x336699; }

// A set directory with the given info text and 4 x 3 frame bitmaps.
static std::string makeSet(const std::string &info, std::initializer_list<const char *> frames)
{
    std::string dir = makeTempDir();
    writeString(dir + "/info", info);
    for (const char *name : frames)
        writeBmp24(dir + "/" + name, 4, 3, plain);
    return dir;
}

// A real directory whose full path is exactly len characters long.
static std::string makeDirOfLength(size_t len)
{
    std::string base = makeTempDir();
    std::string dir = base + "/" + std::string(len - base.size() - 1, 'd');
    EXPECT_EQ(mkdir(dir.c_str(), 0700), 0);
    return dir;
}

// The frame's colour key as 0xRRGGBB, or -1 when it has none.
static long keyOf(const SpriteFrame &f)
{
    Uint32 key;
    if (!getColorKey(f.surface, &key))
        return -1;
    Uint8 r, g, b;
    SDL_GetRGB(key, f.surface->format, &r, &g, &b);
    return (r << 16) | (g << 8) | b;
}

class SpriteSetTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_NE(openTestVideo(), nullptr); memset(&set, 0, sizeof(set)); }
    void TearDown() override { freeSpriteSet(&set); }
    // Every entry below frameCount must hold a surface; the sprite draws them all.
    void expectAllFramesPresent()
    {
        for (int i = 0; i < set.frameCount; i++)
            EXPECT_NE(set.frames[i].surface, nullptr) << "frame " << i;
    }
    SpriteSet set;
};

// Comment, empty, CR-only and blank lines use up no frame; a line that leaves
// numbers out keeps the earlier ones, which start as 0 (delay 0, black key).
TEST_F(SpriteSetTest, ReadsFramesDelaysAndKeys)
{
    std::string dir = makeSet("FILES:5\n# the ship\n\n\r\n  \t \n"
                              "a.bmp\n"
                              "b.bmp 100 -1 255 0\r\n"
                              "c.bmp 50 255 0 255\n"
                              "  d.bmp 70 256 -1 0\n"
                              "e.bmp\n",
                              { "b.bmp", "c.bmp", "d.bmp", "e.bmp" });
    writeBmp24(dir + "/a.bmp", 5, 7, plain);

    EXPECT_EQ(loadSpriteSet(&set, dir.c_str()), 0);
    ASSERT_EQ(std::make_pair(set.loaded, set.frameCount), std::make_pair(1, 5));
    expectAllFramesPresent();
    // red -1: no key at all; otherwise each component's low 8 bits
    const struct { int delay; long key; } want[] = {
        { 0, 0x000000 }, { 100, -1 }, { 50, 0xFF00FF }, { 70, 0x00FF00 }, { 70, 0x00FF00 },
    };
    for (int i = 0; i < 5; i++) {
        EXPECT_EQ(set.frames[i].delay, want[i].delay) << "frame " << i;
        EXPECT_EQ(keyOf(set.frames[i]), want[i].key) << "frame " << i;
    }
    EXPECT_EQ(set.frames[4].surface->format->BitsPerPixel, 32);
    // the size is the first frame's, not a later one's
    EXPECT_EQ(std::make_pair(set.frameWidth, set.frameHeight), std::make_pair(5, 7));

    freeSpriteSet(&set);
    EXPECT_TRUE(set.frames == nullptr && set.loaded == 0 && set.frameCount == 0);
    freeSpriteSet(&set);    // a second release is harmless
}

// Frames are read up to the announced count or the end of the file, and up to
// the first bitmap that fails to load, which is recorded by its line number
// and name for start-up's message. A negative count is refused; a count past
// the cap is a cap: the frames the file lists load, at most 1024 of them.
// Every case is silent.
TEST_F(SpriteSetTest, CountAndBitmapsDecideHowManyFramesLoad)
{
    std::string many;
    for (int i = 0; i < maxSpriteFrames + 6; i++)
        many += "a.bmp 1024\n";
    // The last frame's delay is the number of frames loaded. A failed frame's
    // name is the first piece of its line, cut to fit.
    const struct { std::string info; int result, loaded, frames, failedLine; std::string failedName; } cases[] = {
        // more lines than announced: the rest, a missing bitmap, is never read
        { "FILES: 3\na.bmp 1\nb.bmp 2\nc.bmp 3\nmissing.bmp 4\n", 0, 1, 3, 0, "" },
        { "FILES: 5\na.bmp 1\n\nb.bmp 2", 0, 1, 2, 0, "" },                  // fewer
        { "FILES: 4\na.bmp 1\nb.bmp 2\ngone.bmp 3\nc.bmp 4\n", -1, 1, 2, 3, "gone.bmp" },
        { "FILES: 4\na.bmp 1\n# gone\nb.bmp 2\n" + std::string(300, 'x') + " 5\nc.bmp\n", -1, 1, 2, 3,
          std::string(254, 'x') },
        { "FILES: 0\na.bmp 1\n", 0, 1, 0, 0, "" },
        { "# FILES: 1\na.bmp 1\n", 0, 1, 0, 0, "" },         // the first line is the count line
        { "FILES: -3\na.bmp 1\n", -1, 0, 0, 0, "" },
        { "FILES: 1025\na.bmp 1\n", 0, 1, 1, 0, "" },
        { "FILES: 2147483647\na.bmp 1\nb.bmp 2\n", 0, 1, 2, 0, "" },
        { "FILES: 100000\n" + many, 0, 1, maxSpriteFrames, 0, "" },
    };
    testing::internal::CaptureStdout();
    for (auto &c : cases) {
        SCOPED_TRACE(c.info.substr(0, 60));
        std::string dir = makeSet(c.info, { "a.bmp", "b.bmp", "c.bmp" });
        EXPECT_EQ(loadSpriteSet(&set, dir.c_str()), c.result);
        EXPECT_EQ(std::make_tuple(set.loaded, set.frameCount, spriteSetTrouble.failedFrame, spriteSetTrouble.infoMissing),
                  std::make_tuple(c.loaded, c.frames, c.failedLine, 0));
        EXPECT_EQ(std::string(spriteSetTrouble.failedName), c.failedName);
        expectAllFramesPresent();
        EXPECT_EQ(set.frameCount ? set.frames[set.frameCount - 1].delay : 0, c.frames);
        EXPECT_TRUE(c.loaded || set.frames == nullptr);
        freeSpriteSet(&set);
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

// A missing info file, or a directory too long for the info path, prints one
// message and leaves the set alone.
TEST_F(SpriteSetTest, UnreadableInfoIsReportedAndOverlongPathsAreRefused)
{
    // 251 + "/info" is past 255; "inf" is where a path cut short would lead
    std::string longer = makeDirOfLength(251);
    writeString(longer + "/info", "FILES: 0\n");
    writeString(longer + "/inf", "FILES: 0\n");
    for (const std::string &dir : { makeTempDir(), longer }) {
        set.frameWidth = 7;
        testing::internal::CaptureStdout();
        EXPECT_EQ(loadSpriteSet(&set, dir.c_str()), -1);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "ERROR opening file " + dir + "/info\n\n");
        EXPECT_TRUE(set.loaded == 0 && set.frames == nullptr && set.frameWidth == 7);
        EXPECT_EQ(spriteSetTrouble.infoMissing, 1);
    }

    // 245 + "/info" fits; so does 245 + 1 + 9 for a frame, but one more
    // character fails like a missing bitmap although the file is there (and
    // so is the one a cut-short path would name)
    std::string dir = makeDirOfLength(245);
    writeString(dir + "/info", "FILES: 2\nabcde.bmp 5\nabcdef.bmp 5\n");
    for (const char *name : { "/abcde.bmp", "/abcdef.bmp", "/abcdef.bm" })
        writeBmp24(dir + name, 2, 2, plain);
    EXPECT_EQ(loadSpriteSet(&set, dir.c_str()), -1);
    EXPECT_EQ(std::make_pair(set.loaded, set.frameCount), std::make_pair(1, 1));
}
