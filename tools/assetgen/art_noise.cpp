// Colour arithmetic, the generator's own random numbers and periodic value
// noise. Nothing here touches the C library's rand(), so the pictures come out
// the same on every run whatever else happens in the process.
#include "tools/assetgen/art.h"

#include <math.h>

namespace art {

Rgb rgb(float r, float g, float b)
{
    Rgb c = { r, g, b };
    return c;
}

Rgb mix(Rgb a, Rgb b, float t)
{
    return rgb(a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t);
}

Rgb gradientAt(const float *stops, const Rgb *cols, int n, float y)
{
    for (int i = 0; i < n - 1; i++)
        if (y <= stops[i + 1])
            return mix(cols[i], cols[i + 1], smoothstep(stops[i], stops[i + 1], y));
    return cols[n - 1];
}

Rgb scale(Rgb c, float k)
{
    return rgb(c.r * k, c.g * k, c.b * k);
}

Rgb add(Rgb a, Rgb b)
{
    return rgb(a.r + b.r, a.g + b.g, a.b + b.b);
}

float clampf(float v, float lo, float hi)
{
    return v < lo ? lo : (v > hi ? hi : v);
}

float smoothstep(float e0, float e1, float x)
{
    float t = clampf((x - e0) / (e1 - e0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

uint32_t Rng::next()
{
    state += 0x9E3779B97F4A7C15ull;
    uint64_t z = state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return (uint32_t)((z ^ (z >> 31)) >> 32);
}

float Rng::unit()
{
    return (next() >> 8) * (1.0f / 16777216.0f);
}

float Rng::range(float lo, float hi)
{
    return lo + (hi - lo) * unit();
}

int Rng::below(int n)
{
    return n <= 0 ? 0 : (int)(next() % (uint32_t)n);
}

uint32_t hash3(int x, int y, uint32_t seed)
{
    uint32_t h = seed * 0x27D4EB2Du ^ (uint32_t)x * 0x85EBCA6Bu ^ (uint32_t)y * 0xC2B2AE35u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

float hashUnit(int x, int y, uint32_t seed)
{
    return (hash3(x, y, seed) >> 8) * (1.0f / 16777216.0f);
}

// Quintic fade: smooth in value and slope at the lattice points, so octaves
// do not show a grid.
static float fade(float t)
{
    return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f);
}

static int wrapIndex(int i, int n)
{
    i %= n;
    return i < 0 ? i + n : i;
}

float noise1(float x, int period, int cells, uint32_t seed)
{
    float u = x * (float)cells / (float)period;
    float fl = floorf(u);
    int i = (int)fl;
    float t = fade(u - fl);
    float a = hashUnit(wrapIndex(i, cells), 0, seed);
    float b = hashUnit(wrapIndex(i + 1, cells), 0, seed);
    return a + (b - a) * t;
}

float noise2(float x, float y, int period, int cells, float cellH, uint32_t seed)
{
    float u = x * (float)cells / (float)period;
    float v = y / cellH;
    float fu = floorf(u), fv = floorf(v);
    int i = (int)fu, j = (int)fv;
    float tu = fade(u - fu), tv = fade(v - fv);
    int i0 = wrapIndex(i, cells), i1 = wrapIndex(i + 1, cells);
    float a = hashUnit(i0, j, seed), b = hashUnit(i1, j, seed);
    float c = hashUnit(i0, j + 1, seed), d = hashUnit(i1, j + 1, seed);
    float top = a + (b - a) * tu;
    float bottom = c + (d - c) * tu;
    return top + (bottom - top) * tv;
}

float fbm1(float x, int period, int cells, int octaves, uint32_t seed)
{
    float sum = 0.0f, weight = 1.0f, total = 0.0f;
    for (int o = 0; o < octaves; o++) {
        sum += noise1(x, period, cells << o, seed + 101u * o) * weight;
        total += weight;
        weight *= 0.5f;
    }
    return sum / total;
}

float fbm2(float x, float y, int period, int cells, float cellH, int octaves, uint32_t seed)
{
    float sum = 0.0f, weight = 1.0f, total = 0.0f;
    for (int o = 0; o < octaves; o++) {
        sum += noise2(x, y, period, cells << o, cellH / (float)(1 << o), seed + 101u * o) * weight;
        total += weight;
        weight *= 0.5f;
    }
    return sum / total;
}

float bayer4(int x, int y)
{
    static const int table[4][4] = {
        { 0, 8, 2, 10 }, { 12, 4, 14, 6 }, { 3, 11, 1, 9 }, { 15, 7, 13, 5 }
    };
    return (table[y & 3][x & 3] + 0.5f) / 16.0f;
}

} // namespace art
