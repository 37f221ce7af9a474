// The far backdrop: a night sky deepening upwards, a faint nebula, stars, a
// ringless planet with a small moon, and two ranges of mountains in haze. It
// is kept dark and low in contrast so that ships and shots read over it.
//
// Every x-dependent term is periodic with the strip's period (noise lattices
// with a whole number of cells per period, objects drawn with wrap-around), so
// column 3908 flows into column 0.
#include "tools/assetgen/pictures.h"

#include <math.h>

namespace art {

namespace {

const int W = stripPeriod, H = stripHeight;

// Sky colour by row: deep blue at the top, violet lower down, a dull rose
// glow at the horizon behind the mountains.
Rgb skyAt(float y)
{
    static const float stops[] = { 0, 150, 260, 330, 400 };
    static const Rgb cols[] = { { 6, 8, 26 }, { 16, 18, 52 }, { 38, 30, 78 }, { 84, 50, 92 },
                                { 108, 62, 90 } };
    return gradientAt(stops, cols, 5, y);
}

void nebula(Image &img)
{
    for (int y = 0; y < 300; y++)
        for (int x = 0; x < W; x++) {
            float band = expf(-powf((y - 110.0f - 40.0f * noise1((float)x, W, 7, 71)) / 70.0f, 2.0f));
            float n = fbm2((float)x, (float)y, W, 26, 60.0f, 5, 72);
            float a = smoothstep(0.48f, 0.8f, n) * band * (0.3f + 0.7f * noise1((float)x, W, 11, 73));
            if (a <= 0.0f)
                continue;
            Rgb tint = mix(rgb(60, 120, 150), rgb(140, 60, 140), noise2((float)x, (float)y, W, 17, 90.0f, 74));
            img.at(x, y) = add(img.at(x, y), scale(tint, a * 0.32f));
        }
}

void stars(Image &img)
{
    Rng rng(0x57A25);
    for (int i = 0; i < 1700; i++) {
        int x = rng.below(W);
        int y = (int)(330.0f * powf(rng.unit(), 1.6f));
        float b = rng.unit();
        b = b * b * b;                                  // mostly faint
        float fadeLow = 1.0f - smoothstep(150.0f, 330.0f, (float)y);
        int pick = rng.below(3);
        Rgb tint = pick == 0 ? rgb(255, 235, 200) : pick == 1 ? rgb(200, 220, 255) : rgb(255, 255, 255);
        float a = (0.18f + 0.82f * b) * fadeLow;
        blend(img, x, y, tint, a, true);
        if (b > 0.55f) {                                // the few bright ones twinkle
            blend(img, x - 1, y, tint, a * 0.4f, true);
            blend(img, x + 1, y, tint, a * 0.4f, true);
            if (y > 0)
                blend(img, x, y - 1, tint, a * 0.4f, true);
            blend(img, x, y + 1, tint, a * 0.4f, true);
        }
    }
}

// A banded planet lit from the lower right by the same glow as the horizon,
// with a thin bright atmosphere on the lit limb.
void planet(Image &img, float cx, float cy, float r, Rgb dayside, Rgb nightside, uint32_t seed)
{
    const float lx = 0.84f, ly = 0.32f, lz = 0.38f;   // low light from the lower right
    for (int y = (int)(cy - r - 3); y <= (int)(cy + r + 3); y++)
        for (int x = (int)(cx - r - 3); x <= (int)(cx + r + 3); x++) {
            float dx = (x + 0.5f - cx) / r, dy = (y + 0.5f - cy) / r;
            float q = sqrtf(dx * dx + dy * dy);
            if (q < 1.0f) {
                float nz = sqrtf(1.0f - q * q);
                float light = smoothstep(-0.05f, 0.6f, dx * lx + dy * ly + nz * lz);
                float bands = noise2(dy * 120.0f + noise2(dx * 8.0f, dy * 8.0f, 1000, 40, 3.0f, seed) * 14.0f,
                                     0.0f, 1000, 60, 1.0f, seed + 1);
                Rgb day = mix(dayside, mix(dayside, rgb(230, 200, 170), 0.35f), smoothstep(0.25f, 0.85f, bands));
                Rgb c = mix(nightside, day, light);
                float edge = clampf((1.0f - q) * r, 0.0f, 1.0f);     // soft limb
                blend(img, x, y, c, edge, true);
            }
            // atmosphere halo on the lit side
            float halo = expf(-fabsf(q - 1.0f) * r / 1.6f) * clampf(dx * lx + dy * ly + 0.25f, 0.0f, 1.0f);
            if (halo > 0.02f)
                blend(img, x, y, rgb(255, 180, 170), halo * 0.45f, true);
        }
}

// Mountain ridge line in 0..1: sharp peaks from folded noise, gathered into
// massifs by a slow swell, periodic along x.
float ridge(float x, int cells, uint32_t seed)
{
    float n = 0.0f, wgt = 1.0f, total = 0.0f;
    for (int o = 0; o < 5; o++) {
        float v = 1.0f - fabsf(2.0f * noise1(x, W, cells << o, seed + o) - 1.0f);
        n += v * v * wgt;
        total += wgt;
        wgt *= 0.45f;
    }
    float swell = 0.35f + 0.65f * smoothstep(0.2f, 0.8f, noise1(x, W, 6, seed + 50));
    return n / total * swell;
}

// One mountain range: everything below its ridge line. Near the crest the
// shading follows the ridge's slope (faces turned to the glow on the right
// are lighter); further down it follows rock facets from the slope of a 2D
// noise, so the flanks do not streak into vertical curtains. Peaks above
// snowTop carry snow; the foot fades into haze.
void range(Image &img, float base, float height, int cells, uint32_t seed, Rgb rock, Rgb lit, Rgb haze,
           float hazeTop, float hazeAmount, float snowTop)
{
    const int facetCells = W / 24;
    for (int x = 0; x < W; x++) {
        float top = base - height * ridge((float)x, cells, seed);
        float slope = (base - height * ridge(x + 2.0f, cells, seed)) - (base - height * ridge(x - 2.0f, cells, seed));
        // positive slope: the ground falls away to the right, facing the glow
        float crestFace = clampf(slope * 0.35f, -1.0f, 1.0f);
        for (int y = (int)ceilf(top); y < H; y++) {
            if (y < 0)
                continue;
            float depth = y - top;
            float fy = y + depth * 0.6f;            // facets lean down the flanks
            float facet = (fbm2(x + 2.0f, fy, W, facetCells, 34.0f, 2, seed + 5)
                           - fbm2(x - 2.0f, fy, W, facetCells, 34.0f, 2, seed + 5)) * 4.0f;
            float k = expf(-depth / 16.0f);
            float face = clampf(crestFace * k + facet * (1.0f - k * 0.5f), -1.0f, 1.0f);
            float tex = fbm2((float)x, (float)y, W, 400, 7.0f, 2, seed + 9);
            Rgb c = face > 0 ? mix(rock, lit, face * 0.8f) : scale(rock, 1.0f + face * 0.3f);
            c = scale(c, 0.92f + 0.16f * tex);
            if (depth < 1.0f && crestFace > 0.1f)   // sunlit crest, one pixel
                c = mix(c, lit, 0.6f);
            // snow on the crests that rise above snowTop, a ragged cap
            // reaching further down the higher the crest stands
            float capDepth = (snowTop - top) * 0.5f + 10.0f * noise2((float)x, (float)y, W, facetCells, 12.0f, seed + 7);
            if (depth < capDepth)
                c = mix(c, face > 0 ? rgb(160, 152, 200) : rgb(98, 92, 140),
                        0.75f * smoothstep(capDepth, capDepth - 5.0f, depth));
            c = mix(c, haze, smoothstep(top + 8.0f, hazeTop, (float)y) * hazeAmount);
            img.at(x, y) = c;
        }
    }
}

// A scatter of warm lights on the near range: distant settlements.
void lights(Image &img)
{
    Rng rng(0x116475);
    for (int i = 0; i < 26; i++) {
        int cx = rng.below(W), cy = 345 + rng.below(40);
        int n = 2 + rng.below(6);
        for (int k = 0; k < n; k++) {
            int x = cx + rng.below(14) - 7, y = cy + rng.below(5) - 2;
            if (img.get(((x % W) + W) % W, y).r > 60.0f)    // only on the dark hillside
                continue;
            blend(img, x, y, rgb(255, 200, 120), 0.5f + 0.4f * rng.unit(), true);
        }
    }
}

} // namespace

Image makeBackdrop()
{
    Image img(W, H, rgb(0, 0, 0));
    for (int y = 0; y < H; y++) {
        Rgb c = skyAt((float)y);
        for (int x = 0; x < W; x++)
            img.at(x, y) = c;
    }
    nebula(img);
    stars(img);
    planet(img, 1420.0f, 92.0f, 34.0f, rgb(120, 140, 190), rgb(16, 16, 42), 0x91A);
    planet(img, 3260.0f, 58.0f, 9.0f, rgb(190, 180, 170), rgb(20, 18, 34), 0x33D);
    range(img, 325.0f, 150.0f, 14, 0xFA5, rgb(40, 34, 80), rgb(92, 68, 116), rgb(78, 50, 90), 335.0f, 0.6f, 238.0f);
    range(img, 410.0f, 120.0f, 14, 0x4EA, rgb(22, 18, 42), rgb(66, 44, 78), rgb(34, 24, 54), 410.0f, 0.5f, 0.0f);
    lights(img);
    return img;
}

} // namespace art
