// The game's icon for desktops and menus: the ship on a round night-sky
// badge, written as RGBA PNG at the sizes the icon theme asks for.
#include "tools/assetgen/assetgen.h"
#include "tools/assetgen/art.h"

#include <stdio.h>
#include <zlib.h>

using namespace art;

namespace {

void putBE32(std::vector<uint8_t> &b, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        b.push_back((v >> shift) & 255);
}

// One chunk: length, type, data, and the CRC of type and data.
void putChunk(std::vector<uint8_t> &png, const char *type, const std::vector<uint8_t> &data)
{
    putBE32(png, data.size());
    size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    uLong crc = crc32(0L, png.data() + start, (uInt)(png.size() - start));
    putBE32(png, (uint32_t)crc);
}

// The badge drawn in a 64-unit box scaled to `size` pixels.
std::vector<uint8_t> iconPixels(int size)
{
    const int ss = 4;
    float u = size / 64.0f;
    Canvas c(size, size, ss);
    fillEllipse(c, 32 * u, 32 * u, 31 * u, 31 * u, vertical(rgb(255, 200, 95), rgb(215, 110, 30), 0, size));
    fillEllipse(c, 32 * u, 32 * u, 28 * u, 28 * u,
                vertical(rgb(40, 64, 132), rgb(8, 12, 36), 4 * u, 60 * u));
    // a few stars behind the craft
    const float stars[][3] = { { 18, 16, 1.1f }, { 44, 13, 0.9f }, { 50, 44, 1.0f }, { 14, 44, 0.8f } };
    for (const auto &s : stars)
        fillEllipse(c, s[0] * u, s[1] * u, s[2] * u, s[2] * u, flat(rgb(235, 240, 255)));
    float k = 50 * u / 70.0f;               // the ship's 70 x 44 design box
    drawShip(c, 32 * u - 35 * k, 33 * u - 22 * k, k, 1.0f, false, false);

    Mask cover = coverage(c);
    Image colour = meanColour(c, rgb(0, 0, 0));
    std::vector<uint8_t> rgba;
    rgba.reserve((size_t)size * size * 4);
    for (int y = 0; y < size; y++)
        for (int x = 0; x < size; x++) {
            Rgb p = colour.get(x, y);
            rgba.push_back((uint8_t)clampf(p.r + 0.5f, 0, 255));
            rgba.push_back((uint8_t)clampf(p.g + 0.5f, 0, 255));
            rgba.push_back((uint8_t)clampf(p.b + 0.5f, 0, 255));
            rgba.push_back((uint8_t)clampf(cover.get(x, y) * 255 + 0.5f, 0, 255));
        }
    return rgba;
}

} // namespace

std::vector<uint8_t> encodePng(int w, int h, const std::vector<uint8_t> &rgba)
{
    std::vector<uint8_t> png = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n' };
    std::vector<uint8_t> ihdr;
    putBE32(ihdr, w);
    putBE32(ihdr, h);
    ihdr.insert(ihdr.end(), { 8, 6, 0, 0, 0 });   // 8-bit RGBA, deflate, no filter, no interlace
    putChunk(png, "IHDR", ihdr);

    // Each row starts with filter type 0 (none).
    std::vector<uint8_t> raw;
    raw.reserve((size_t)h * (w * 4 + 1));
    for (int y = 0; y < h; y++) {
        raw.push_back(0);
        const uint8_t *row = rgba.data() + (size_t)y * w * 4;
        raw.insert(raw.end(), row, row + (size_t)w * 4);
    }
    uLongf packed = compressBound(raw.size());
    std::vector<uint8_t> idat(packed);
    if (compress2(idat.data(), &packed, raw.data(), raw.size(), 9) != Z_OK)
        return std::vector<uint8_t>();
    idat.resize(packed);
    putChunk(png, "IDAT", idat);
    putChunk(png, "IEND", std::vector<uint8_t>());
    return png;
}

bool makeIcons(const std::string &dir)
{
    if (!makeDirs(dir))
        return false;
    for (int size : { 48, 128, 256 }) {
        std::vector<uint8_t> png = encodePng(size, size, iconPixels(size));
        std::string path = dir + "/driftwing-" + std::to_string(size) + ".png";
        if (png.empty() || !writeFile(path, png)) {
            fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
            return false;
        }
    }
    return true;
}
