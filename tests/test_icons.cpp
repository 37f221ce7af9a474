// The desktop icons: well-formed PNG (chunk CRCs, header, pixel rows that
// inflate back to the picture) at the three sizes, round with clear corners.
#include <gtest/gtest.h>
#include <zlib.h>
#include <tuple>

#include "tools/assetgen/assetgen.h"
#include "tests/support.h"

namespace {

uint32_t be32(const uint8_t *p) { return (uint32_t)p[0] << 24 | p[1] << 16 | p[2] << 8 | p[3]; }

struct Png {
    uint32_t w = 0, h = 0;
    std::vector<uint8_t> ihdr, rows;   // rows: inflated IDAT
};

// Walks the chunks, checking each CRC; fails the test on any fault.
Png readPng(const std::vector<uint8_t> &b)
{
    Png png;
    const uint8_t sig[8] = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n' };
    EXPECT_TRUE(b.size() > 8 && std::equal(sig, sig + 8, b.begin()));
    std::vector<uint8_t> idat;
    std::string order;
    for (size_t at = 8; at + 12 <= b.size();) {
        uint32_t len = be32(&b[at]);
        EXPECT_LE(at + 12 + len, b.size());
        if (at + 12 + len > b.size())
            break;
        std::string type(b.begin() + at + 4, b.begin() + at + 8);
        uint32_t crc = (uint32_t)crc32(0L, &b[at + 4], len + 4);
        EXPECT_EQ(crc, be32(&b[at + 8 + len])) << type;
        const uint8_t *data = &b[at + 8];
        if (type == "IHDR")
            png.ihdr.assign(data, data + len);
        if (type == "IDAT")
            idat.insert(idat.end(), data, data + len);
        order += type + " ";
        at += 12 + len;
    }
    EXPECT_EQ(order, "IHDR IDAT IEND ");
    if (png.ihdr.size() != 13)
        return png;
    png.w = be32(&png.ihdr[0]);
    png.h = be32(&png.ihdr[4]);
    png.rows.resize((size_t)png.h * (png.w * 4 + 1));
    uLongf size = png.rows.size();
    EXPECT_EQ(uncompress(png.rows.data(), &size, idat.data(), idat.size()), Z_OK);
    EXPECT_EQ(size, png.rows.size());
    return png;
}

} // namespace

TEST(Icons, PngsInflateBackToThePixelsAtThreeSizesRoundWithClearCorners)
{
    std::vector<uint8_t> rgba;
    for (int i = 0; i < 3 * 2 * 4; i++)
        rgba.push_back((uint8_t)(i * 11));
    Png png = readPng(encodePng(3, 2, rgba));
    ASSERT_EQ(png.ihdr.size(), 13u);
    EXPECT_EQ(std::make_tuple(png.w, png.h, png.ihdr[8], png.ihdr[9]), std::make_tuple(3u, 2u, 8, 6));   // 8-bit RGBA
    // Each row: filter byte 0, then the row's pixels as given.
    std::vector<uint8_t> want;
    for (int y = 0; y < 2; y++) {
        want.push_back(0);
        want.insert(want.end(), rgba.begin() + y * 12, rgba.begin() + y * 12 + 12);
    }
    EXPECT_EQ(png.rows, want);

    std::string dir = makeTempDir() + "/icons";
    ASSERT_TRUE(makeIcons(dir));
    for (uint32_t size : { 48u, 128u, 256u }) {
        std::string bytes = readString(dir + "/driftwing-" + std::to_string(size) + ".png");
        png = readPng(std::vector<uint8_t>(bytes.begin(), bytes.end()));
        ASSERT_EQ(std::make_tuple(png.w, png.h), std::make_tuple(size, size));
        auto alpha = [&](uint32_t x, uint32_t y) { return png.rows[y * (size * 4 + 1) + 1 + x * 4 + 3]; };
        EXPECT_EQ(alpha(0, 0), 0);
        EXPECT_EQ(alpha(size - 1, size - 1), 0);
        EXPECT_EQ(alpha(size / 2, size / 2), 255);
        EXPECT_EQ(alpha(size / 2, size * 3 / 64), 255) << "the badge reaches near the top edge";
    }
}
