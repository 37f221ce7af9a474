// The supersampled shape canvas: shapes are filled at ss x ss samples per
// pixel and then either averaged (anti-aliased pictures) or cut at half
// coverage (colour-keyed sprites, whose edges must be hard).
#include "tools/assetgen/art.h"

#include <math.h>
#include <algorithm>

namespace art {

Canvas::Canvas(int width, int height, int supersample)
    : w(width), h(height), ss(supersample),
      col((size_t)width * height * supersample * supersample, rgb(0, 0, 0)),
      ink((size_t)width * height * supersample * supersample, 0)
{
}

// Inks subsample (sx, sy) with the shader's colour at its centre.
static void paint(Canvas &c, int sx, int sy, const Shader &shade)
{
    int sw = c.w * c.ss, sh = c.h * c.ss;
    if (sx < 0 || sy < 0 || sx >= sw || sy >= sh)
        return;
    size_t i = (size_t)sy * sw + sx;
    c.col[i] = shade((sx + 0.5f) / c.ss, (sy + 0.5f) / c.ss);
    c.ink[i] = 1;
}

void fillPolygon(Canvas &c, const std::vector<Pt> &poly, const Shader &shade)
{
    size_t n = poly.size();
    if (n < 3)
        return;
    float top = poly[0].y, bottom = poly[0].y;
    for (size_t i = 1; i < n; i++) {
        top = std::min(top, poly[i].y);
        bottom = std::max(bottom, poly[i].y);
    }
    int sy0 = std::max(0, (int)floorf(top * c.ss));
    int sy1 = std::min(c.h * c.ss - 1, (int)ceilf(bottom * c.ss));
    std::vector<float> xs;
    for (int sy = sy0; sy <= sy1; sy++) {
        float y = (sy + 0.5f) / c.ss;
        xs.clear();
        for (size_t i = 0; i < n; i++) {
            Pt a = poly[i], b = poly[(i + 1) % n];
            // half-open rule so a vertex on the scanline counts once
            if ((a.y <= y && y < b.y) || (b.y <= y && y < a.y))
                xs.push_back(a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y));
        }
        std::sort(xs.begin(), xs.end());
        for (size_t k = 0; k + 1 < xs.size(); k += 2) {
            int sxa = (int)ceilf(xs[k] * c.ss - 0.5f);
            int sxb = (int)ceilf(xs[k + 1] * c.ss - 0.5f);
            for (int sx = sxa; sx < sxb; sx++)
                paint(c, sx, sy, shade);
        }
    }
}

void fillEllipse(Canvas &c, float cx, float cy, float rx, float ry, const Shader &shade)
{
    int sx0 = (int)floorf((cx - rx) * c.ss), sx1 = (int)ceilf((cx + rx) * c.ss);
    int sy0 = (int)floorf((cy - ry) * c.ss), sy1 = (int)ceilf((cy + ry) * c.ss);
    for (int sy = sy0; sy <= sy1; sy++)
        for (int sx = sx0; sx <= sx1; sx++) {
            float dx = ((sx + 0.5f) / c.ss - cx) / rx;
            float dy = ((sy + 0.5f) / c.ss - cy) / ry;
            if (dx * dx + dy * dy <= 1.0f)
                paint(c, sx, sy, shade);
        }
}

void fillStroke(Canvas &c, Pt a, Pt b, float width, const Shader &shade)
{
    float r = width * 0.5f;
    int sx0 = (int)floorf((std::min(a.x, b.x) - r) * c.ss);
    int sx1 = (int)ceilf((std::max(a.x, b.x) + r) * c.ss);
    int sy0 = (int)floorf((std::min(a.y, b.y) - r) * c.ss);
    int sy1 = (int)ceilf((std::max(a.y, b.y) + r) * c.ss);
    float vx = b.x - a.x, vy = b.y - a.y;
    float len2 = vx * vx + vy * vy;
    for (int sy = sy0; sy <= sy1; sy++)
        for (int sx = sx0; sx <= sx1; sx++) {
            float px = (sx + 0.5f) / c.ss - a.x, py = (sy + 0.5f) / c.ss - a.y;
            float t = len2 > 0.0f ? clampf((px * vx + py * vy) / len2, 0.0f, 1.0f) : 0.0f;
            float dx = px - vx * t, dy = py - vy * t;
            if (dx * dx + dy * dy <= r * r)
                paint(c, sx, sy, shade);
        }
}

void fillMask(Canvas &c, const Mask &m, int ox, int oy, const Shader &shade)
{
    for (int y = 0; y < m.h; y++)
        for (int x = 0; x < m.w; x++)
            if (m.get(x, y) >= 0.5f)
                paint(c, ox + x, oy + y, shade);
}

void eraseEllipse(Canvas &c, float cx, float cy, float rx, float ry)
{
    int sw = c.w * c.ss, sh = c.h * c.ss;
    int sx0 = std::max(0, (int)floorf((cx - rx) * c.ss));
    int sx1 = std::min(sw - 1, (int)ceilf((cx + rx) * c.ss));
    int sy0 = std::max(0, (int)floorf((cy - ry) * c.ss));
    int sy1 = std::min(sh - 1, (int)ceilf((cy + ry) * c.ss));
    for (int sy = sy0; sy <= sy1; sy++)
        for (int sx = sx0; sx <= sx1; sx++) {
            float dx = ((sx + 0.5f) / c.ss - cx) / rx;
            float dy = ((sy + 0.5f) / c.ss - cy) / ry;
            if (dx * dx + dy * dy <= 1.0f)
                c.ink[(size_t)sy * sw + sx] = 0;
        }
}

Shader flat(Rgb c)
{
    return [c](float, float) { return c; };
}

Shader vertical(Rgb top, Rgb bottom, float y0, float y1)
{
    return [=](float, float y) { return mix(top, bottom, clampf((y - y0) / (y1 - y0), 0.0f, 1.0f)); };
}

Mask coverage(const Canvas &c)
{
    Mask m(c.w, c.h);
    int sw = c.w * c.ss;
    float inv = 1.0f / (c.ss * c.ss);
    for (int y = 0; y < c.h; y++)
        for (int x = 0; x < c.w; x++) {
            int n = 0;
            for (int sy = 0; sy < c.ss; sy++)
                for (int sx = 0; sx < c.ss; sx++)
                    n += c.ink[(size_t)(y * c.ss + sy) * sw + x * c.ss + sx];
            m.at(x, y) = n * inv;
        }
    return m;
}

Image meanColour(const Canvas &c, Rgb empty)
{
    Image img(c.w, c.h, empty);
    int sw = c.w * c.ss;
    for (int y = 0; y < c.h; y++)
        for (int x = 0; x < c.w; x++) {
            Rgb sum = rgb(0, 0, 0);
            int n = 0;
            for (int sy = 0; sy < c.ss; sy++)
                for (int sx = 0; sx < c.ss; sx++) {
                    size_t i = (size_t)(y * c.ss + sy) * sw + x * c.ss + sx;
                    if (c.ink[i]) {
                        sum = add(sum, c.col[i]);
                        n++;
                    }
                }
            if (n)
                img.at(x, y) = scale(sum, 1.0f / n);
        }
    return img;
}

void resolveKeyed(const Canvas &c, Image &img, std::vector<uint8_t> &solid,
                  const Rgb *outline, bool thick)
{
    Mask cov = coverage(c);
    img = meanColour(c, rgb(0, 0, 0));
    solid.assign((size_t)c.w * c.h, 0);
    for (int i = 0; i < c.w * c.h; i++)
        solid[i] = cov.a[i] >= 0.5f;
    if (!outline)
        return;
    std::vector<uint8_t> ring((size_t)c.w * c.h, 0);
    for (int y = 0; y < c.h; y++)
        for (int x = 0; x < c.w; x++) {
            if (solid[(size_t)y * c.w + x])
                continue;
            bool touch = false;
            for (int dy = -1; dy <= 1 && !touch; dy++)
                for (int dx = -1; dx <= 1 && !touch; dx++) {
                    if ((dx == 0 && dy == 0) || (!thick && dx != 0 && dy != 0))
                        continue;
                    int nx = x + dx, ny = y + dy;
                    touch = nx >= 0 && ny >= 0 && nx < c.w && ny < c.h
                            && solid[(size_t)ny * c.w + nx];
                }
            ring[(size_t)y * c.w + x] = touch;
        }
    for (size_t i = 0; i < ring.size(); i++)
        if (ring[i]) {
            solid[i] = 1;
            img.px[i] = *outline;
        }
}

void compositeOver(const Canvas &c, Image &dst, int ox, int oy, float opacity)
{
    Mask cov = coverage(c);
    Image colour = meanColour(c, rgb(0, 0, 0));
    for (int y = 0; y < c.h; y++)
        for (int x = 0; x < c.w; x++)
            blend(dst, ox + x, oy + y, colour.get(x, y), cov.get(x, y) * opacity);
}

} // namespace art
