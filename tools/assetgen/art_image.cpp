// Float RGB images, the BMP encoder, colour keying and mask filters.
#include "tools/assetgen/art.h"
#include "tools/assetgen/assetgen.h"

#include <math.h>
#include <stdio.h>

namespace art {

Image::Image(int width, int height, Rgb fill)
    : w(width), h(height), px((size_t)width * height, fill)
{
}

void blend(Image &img, int x, int y, Rgb c, float a, bool wrap)
{
    if (wrap) {
        x %= img.w;
        if (x < 0)
            x += img.w;
    }
    if (!img.inside(x, y) || a <= 0.0f)
        return;
    Rgb &p = img.at(x, y);
    p = mix(p, c, a > 1.0f ? 1.0f : a);
}

void fillRect(Image &img, int x0, int y0, int x1, int y1, Rgb c)
{
    for (int y = y0; y < y1; y++)
        for (int x = x0; x < x1; x++)
            if (img.inside(x, y))
                img.at(x, y) = c;
}

static uint8_t toByte(float v)
{
    return (uint8_t)clampf(floorf(v + 0.5f), 0.0f, 255.0f);
}

std::vector<uint8_t> encodeBmp(const Image &img)
{
    unsigned rowBytes = ((unsigned)img.w * 3 + 3) & ~3u;
    unsigned dataBytes = rowBytes * (unsigned)img.h;
    std::vector<uint8_t> b;
    b.reserve(54 + dataBytes);
    // file header: magic, file size, two reserved words, offset of the pixels
    b.push_back('B');
    b.push_back('M');
    put32(b, 54 + dataBytes);
    put32(b, 0);
    put32(b, 54);
    // info header: 40 bytes, positive height = rows stored bottom-up
    put32(b, 40);
    put32(b, img.w);
    put32(b, img.h);
    put16(b, 1);            // planes
    put16(b, 24);           // bits per pixel
    put32(b, 0);            // no compression
    put32(b, dataBytes);
    put32(b, 2835);         // 72 dpi, in pixels per metre
    put32(b, 2835);
    put32(b, 0);            // no palette
    put32(b, 0);
    for (int y = img.h - 1; y >= 0; y--) {
        for (int x = 0; x < img.w; x++) {
            Rgb c = img.get(x, y);
            b.push_back(toByte(c.b));
            b.push_back(toByte(c.g));
            b.push_back(toByte(c.r));
        }
        for (unsigned p = (unsigned)img.w * 3; p < rowBytes; p++)
            b.push_back(0);
    }
    return b;
}

bool saveBmp(const std::string &path, const Image &img)
{
    // a NaN would be written as some arbitrary byte; refuse the picture so
    // the slip in the drawing code shows instead of a stray pixel
    for (const Rgb &c : img.px)
        if (!isfinite(c.r) || !isfinite(c.g) || !isfinite(c.b)) {
            printf("assetgen: %s has a pixel that is not a number\n", path.c_str());
            return false;
        }
    return writeFile(path, encodeBmp(img));
}

void applyKey(Image &img, const std::vector<uint8_t> &solid, Rgb key)
{
    int kr = toByte(key.r), kg = toByte(key.g), kb = toByte(key.b);
    for (size_t i = 0; i < img.px.size(); i++) {
        if (!solid[i]) {
            img.px[i] = key;
            continue;
        }
        Rgb &p = img.px[i];
        if (!isfinite(p.r + p.g + p.b))
            continue;                           // left for saveBmp to refuse
        p = rgb(toByte(p.r), toByte(p.g), toByte(p.b));
        if ((int)p.r == kr && (int)p.g == kg && (int)p.b == kb)
            p.g = kg > 127 ? kg - 1 : kg + 1;   // one step off the key is invisible
    }
}

Mask dilate(const Mask &m, int radius)
{
    Mask out(m.w, m.h);
    for (int y = 0; y < m.h; y++)
        for (int x = 0; x < m.w; x++) {
            float best = 0.0f;
            for (int dy = -radius; dy <= radius; dy++)
                for (int dx = -radius; dx <= radius; dx++) {
                    if (dx * dx + dy * dy > radius * radius + radius)
                        continue;
                    float v = m.get(x + dx, y + dy);
                    if (v > best)
                        best = v;
                }
            out.at(x, y) = best;
        }
    return out;
}

// One box pass along rows (dx = 1) or columns, treating outside as empty.
static Mask boxPass(const Mask &m, int radius, bool alongX)
{
    Mask out(m.w, m.h);
    float inv = 1.0f / (2 * radius + 1);
    int lines = alongX ? m.h : m.w, len = alongX ? m.w : m.h;
    for (int l = 0; l < lines; l++) {
        float sum = 0.0f;
        for (int i = -radius - 1; i < len; i++) {
            // sliding window sum over [i - radius, i + radius]
            int in = i + radius, gone = i - radius - 1;
            sum += alongX ? m.get(in, l) : m.get(l, in);
            sum -= alongX ? m.get(gone, l) : m.get(l, gone);
            if (i >= 0) {
                if (alongX)
                    out.at(i, l) = sum * inv;
                else
                    out.at(l, i) = sum * inv;
            }
        }
    }
    return out;
}

Mask blur(const Mask &m, int radius)
{
    Mask out = m;
    for (int pass = 0; pass < 3; pass++)
        out = boxPass(boxPass(out, radius, true), radius, false);
    return out;
}

Mask downsample(const Mask &m, int factor)
{
    Mask out(m.w / factor, m.h / factor);
    float inv = 1.0f / (factor * factor);
    for (int y = 0; y < out.h; y++)
        for (int x = 0; x < out.w; x++) {
            float sum = 0.0f;
            for (int sy = 0; sy < factor; sy++)
                for (int sx = 0; sx < factor; sx++)
                    sum += m.get(x * factor + sx, y * factor + sy);
            out.at(x, y) = sum * inv;
        }
    return out;
}

} // namespace art
