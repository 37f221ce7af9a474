// The desktop icons: PNGs that a strict reader (libpng, under ImageMagick,
// which checks every chunk's CRC, the chunk order and the compressed rows)
// decodes back to the very pixels given, at the three sizes, round with
// clear corners.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "tools/assetgen/assetgen.h"
#include "tests/support.h"

// The PNG file's pixels as 8-bit RGBA bytes, row by row; empty when it does
// not decode.
static std::string decodePng(const std::string &file)
{
    int status = -1;
    std::string out = file + ".rgba";
    std::string said = runCommand("convert 'png:" + file + "' -depth 8 'rgba:" + out + "' 2>&1", &status);
    EXPECT_EQ(status, 0) << file << ": " << said;
    return status == 0 ? readString(out) : "";
}

TEST(Icons, PngsDecodeBackToThePixelsAtThreeSizesRoundWithClearCorners)
{
    std::string dir = makeTempDir();
    std::vector<uint8_t> rgba;
    for (int i = 0; i < 3 * 2 * 4; i++)
        rgba.push_back((uint8_t)(i * 11));
    writeBytes(dir + "/small.png", encodePng(3, 2, rgba));
    EXPECT_EQ(decodePng(dir + "/small.png"), std::string(rgba.begin(), rgba.end()));

    ASSERT_TRUE(makeIcons(dir + "/icons"));
    for (size_t size : { 48, 128, 256 }) {
        std::string px = decodePng(dir + "/icons/driftwing-" + std::to_string(size) + ".png");
        ASSERT_EQ(px.size(), size * size * 4) << size;
        auto alpha = [&](size_t x, size_t y) { return (uint8_t)px[(y * size + x) * 4 + 3]; };
        EXPECT_EQ(alpha(0, 0), 0);
        EXPECT_EQ(alpha(size - 1, size - 1), 0);
        EXPECT_EQ(alpha(size / 2, size / 2), 255);
        EXPECT_EQ(alpha(size / 2, size * 3 / 64), 255) << "the badge reaches near the top edge";
    }
    removeTree(dir);
}
