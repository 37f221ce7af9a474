// The front layer: the ground rushing past under the ship, drawn over every
// sprite. The game keys it on pure white, so the empty sky is exactly
// (255, 255, 255) and every drawn pixel is solid with a hard edge: nothing
// here is anti-aliased against the white.
//
// The ground keeps to the lowest rows (the ship flies down to band row 350),
// with a few spires, towers and masts rising higher now and then. Every shape
// is placed with wrap-around and every noise is periodic, so the strip is
// seamless across its period.
#include "tools/assetgen/pictures.h"

#include <math.h>

namespace art {

namespace {

const int W = stripPeriod, H = stripHeight;

struct Layer {
    Image img;
    std::vector<uint8_t> solid;
    Layer() : img(W, H, rgb(255, 255, 255)), solid((size_t)W * H, 0) {}
    static int wrap(int x) { return ((x % W) + W) % W; }
    void put(int x, int y, Rgb c)
    {
        if (y < 0 || y >= H)
            return;
        x = wrap(x);
        img.at(x, y) = c;
        solid[(size_t)y * W + x] = 1;
    }
    bool isSolid(int x, int y) const
    {
        return y >= 0 && y < H && solid[(size_t)y * W + wrap(x)];
    }
};

// Row of the ground's surface at column x: mostly 30..56 rows above the
// bottom, with sharp rocky knolls and now and then a low hill.
float groundTop(float x)
{
    float h = 30.0f + 16.0f * fbm1(x, W, 40, 5, 0x6120);
    float knoll = 1.0f - fabsf(2.0f * noise1(x, W, 90, 0x6122) - 1.0f);
    h += 10.0f * knoll * knoll * knoll;
    h += 14.0f * smoothstep(0.62f, 0.9f, noise1(x, W, 9, 0x6121));
    return H - h;
}

// Layered rock: strata that bend and vary in thickness, broken into blocks by
// joints, mottled, darkening with depth.
Rgb rockColour(int x, int y, float top, float slope)
{
    float d = y - top;
    float warped = y + 14.0f * fbm1((float)x, W, 25, 2, 0x57A7) + 3.0f * noise1((float)x, W, 300, 0x57A8);
    float layerF = warped / 9.0f + 0.9f * noise1((float)x, W, 60, 0x57A9) + 0.4f * noise1((float)y, 1000, 90, 0x57AA);
    int layer = (int)floorf(layerF);
    float inLayer = layerF - layer;
    static const Rgb tones[4] = { { 84, 66, 72 }, { 72, 62, 78 }, { 90, 74, 74 }, { 66, 58, 70 } };
    Rgb c = tones[((layer % 4) + 4) % 4];
    if (inLayer < 0.14f)
        c = scale(c, 0.62f);                     // seams between the strata
    else if (inLayer < 0.3f)
        c = scale(c, 1.12f);                     // lit lip under each seam
    // the odd vertical joint, staggered from layer to layer
    float spacing = 40.0f + 50.0f * hashUnit(layer, 8, 0x10147);
    float jointX = x + spacing * hashUnit(layer, 7, 0x10147);
    if (fmodf(jointX, spacing) < 1.0f && hashUnit((int)(jointX / spacing), layer, 0x10148) < 0.6f)
        c = scale(c, 0.72f);
    float tex = fbm2((float)x, (float)y, W, W / 5, 5.0f, 3, 0x7E7);
    c = scale(c, 0.74f + 0.5f * tex);
    // faces turned up and to the left catch the light
    float light = clampf(-slope * 0.1f, -0.4f, 0.4f) * expf(-d / 12.0f);
    c = scale(c, 1.0f + light);
    return scale(c, 1.0f - 0.6f * smoothstep(0.0f, 50.0f, d));
}

void ground(Layer &L, const std::vector<float> &top)
{
    for (int x = 0; x < W; x++) {
        float t = top[x];
        float slope = top[Layer::wrap(x + 3)] - top[Layer::wrap(x - 3)];
        // moss hangs a little way down, raggedly
        float rim = 2.0f + 4.0f * powf(hashUnit(x / 2, 0, 0x3055), 2.0f);
        for (int y = (int)ceilf(t); y < H; y++) {
            float d = y - t;
            Rgb c = rockColour(x, y, t, slope);
            if (d < rim)
                c = mix(rgb(100, 142, 76), rgb(44, 70, 46), d / rim);
            else if (d < rim + 2.0f)
                c = scale(c, 0.6f);                      // soil shadow under the moss
            L.put(x, y, c);
        }
        // grass blades poking up from the moss
        if (hashUnit(x, 1, 0x3056) < 0.4f) {
            int blade = 1 + (int)(hashUnit(x, 2, 0x3056) * 3.0f);
            for (int k = 1; k <= blade; k++)
                L.put(x, (int)ceilf(t) - k, k == blade ? rgb(130, 172, 96) : rgb(92, 136, 72));
        }
    }
}

// A flat boulder half sunk in the ground, lit from the upper left, with a
// cap of moss.
void boulder(Layer &L, float cx, float cy, float rx, float ry, uint32_t seed)
{
    for (int y = (int)(cy - ry - 2); y <= (int)(cy + ry + 2); y++)
        for (int x = (int)(cx - rx - 2); x <= (int)(cx + rx + 2); x++) {
            float nx = (x + 0.5f - cx) / rx, ny = (y + 0.5f - cy) / ry;
            float angle = atan2f(ny, nx);
            float wobble = 1.0f + 0.2f * (noise1(angle * 40.0f + 200.0f, 1000, 60, seed) - 0.5f);
            float q2 = nx * nx + ny * ny;
            if (q2 > wobble * wobble)
                continue;
            float nz = sqrtf(fmaxf(0.0f, 1.0f - q2 / (wobble * wobble)));
            float light = clampf(-0.5f * nx - 0.6f * ny + 0.62f * nz, 0.0f, 1.0f);
            float tex = fbm2((float)x, (float)y, W, W / 3, 3.0f, 2, seed);
            Rgb c = scale(rgb(86, 74, 84), 0.35f + 0.75f * light + 0.35f * (tex - 0.5f));
            float moss = ny + 0.35f * (noise1((float)x, 1000, 300, seed + 1) - 0.5f);
            if (moss < -0.55f)
                c = mix(rgb(70, 108, 62), rgb(110, 150, 84), light);
            L.put(x, y, c);
        }
}

// A tall rock needle, leaning a little: ledged outline, vertical flutes lit
// from the left, a few slanting cracks.
void spire(Layer &L, float cx, float topY, float baseY, float width, float lean, uint32_t seed)
{
    for (int y = (int)ceilf(topY); y < (int)baseY; y++) {
        float t = (y - topY) / (baseY - topY);           // 0 at the tip
        float half = width * 0.5f * (0.2f + 0.8f * powf(t, 0.8f));
        // ledges: the outline steps in and out in bands
        half += 5.0f * (noise1((float)y, 4000, 300, seed) - 0.5f) * (0.3f + t);
        half += 1.0f * (noise1((float)y, 4000, 900, seed + 2) - 0.5f);
        if (t < 0.05f)
            half *= 0.45f + 0.55f * t / 0.05f;           // blunt tip
        float mid = cx + lean * (1.0f - t) * (1.0f - t);
        for (int x = (int)floorf(mid - half); x <= (int)ceilf(mid + half); x++) {
            float u = (x + 0.5f - (mid - half)) / (2.0f * half);
            if (u < 0.0f || u > 1.0f)
                continue;
            float flute = noise1((float)(x - (int)cx) * 1.0f + y * 0.08f, 1000, 220, seed + 3);
            float light = (u < 0.1f ? 1.35f : 1.2f - 0.8f * u) * (0.8f + 0.4f * flute);
            float crack = noise2((float)x + y * 0.7f, (float)y, 4000, 500, 14.0f, seed + 1);
            if (fabsf(crack - 0.5f) < 0.03f)
                light *= 0.6f;
            Rgb c = scale(rgb(88, 72, 80), light * (0.78f + 0.22f * (1.0f - t)));
            L.put(x, y, c);
        }
    }
}

// A ruined stone watchtower: block courses, a broken crown, two lit windows.
void tower(Layer &L, int left, float topY, float baseY, int width, uint32_t seed)
{
    for (int x = left; x < left + width; x++) {
        float crown = topY + 7.0f * noise1((float)(x - left), 1000, 300, seed) * (x % 3 == 0 ? 1.0f : 0.6f);
        for (int y = (int)crown; y < (int)baseY; y++) {
            int row = (y - (int)topY) / 4;
            int col = (x - left + (row % 2) * 3) / 6;
            bool mortar = (y - (int)topY) % 4 == 0 || (x - left + (row % 2) * 3) % 6 == 0;
            float tex = 0.85f + 0.3f * hashUnit(col, row, seed);
            Rgb c = scale(rgb(96, 88, 96), tex);
            if (mortar)
                c = scale(c, 0.7f);
            float u = (x - left + 0.5f) / width;
            c = scale(c, x == left ? 1.3f : 1.1f - 0.55f * u);
            L.put(x, y, c);
        }
    }
    for (int w = 0; w < 2; w++) {
        int wx = left + width / 2 - 1, wy = (int)topY + 14 + w * 16;
        for (int y = wy; y < wy + 6; y++)
            for (int x = wx; x < wx + 3; x++)
                if (!(y == wy && x != wx + 1))           // arched top
                    L.put(x, y, y < wy + 2 ? rgb(255, 214, 130) : rgb(236, 160, 70));
    }
}

// A thin lattice mast with red beacons.
void mast(Layer &L, int cx, int topY, int baseY)
{
    Rgb metal = rgb(46, 46, 60), litMetal = rgb(96, 96, 116);
    for (int y = topY; y < baseY; y++) {
        float t = (float)(y - topY) / (baseY - topY);
        int half = 1 + (int)(3.0f * t);
        L.put(cx - half, y, litMetal);
        L.put(cx + half, y, metal);
        // cross bracing every 6 rows
        int k = (y - topY) % 6;
        int span = 2 * half;
        if (span > 1) {
            int off = k * span / 6;
            L.put(cx - half + off, y, metal);
            L.put(cx + half - off, y, metal);
        }
    }
    for (int y = topY - 3; y < topY; y++)
        L.put(cx, y, metal);
    for (int b = 0; b < 2; b++) {
        int by = b == 0 ? topY - 5 : topY + (baseY - topY) / 2;
        L.put(cx, by, rgb(255, 70, 60));
        L.put(cx + 1, by, rgb(220, 40, 40));
        L.put(cx, by + 1, rgb(200, 30, 36));
        L.put(cx + 1, by + 1, rgb(170, 24, 30));
    }
}

// A dark conifer made of stacked tiers, lit along its left edge.
void conifer(Layer &L, int cx, float baseY, float height, uint32_t seed)
{
    float topY = baseY - height;
    float tier = 4.0f + 2.0f * hashUnit(cx, 0, seed);
    for (int y = (int)ceilf(topY); y < (int)baseY - 2; y++) {
        float t = (y - topY) / height;
        float inTier = fmodf(y - topY, tier) / tier;
        float half = height * 0.26f * t * (0.55f + 0.45f * inTier) + 0.5f;
        for (int x = (int)floorf(cx - half); x <= (int)ceilf(cx + half); x++) {
            float u = (x + 0.5f - (cx - half)) / (2.0f * half);
            if (u < 0.0f || u > 1.0f)
                continue;
            Rgb c = u < 0.25f ? rgb(52, 84, 60) : mix(rgb(30, 52, 42), rgb(16, 28, 28), u);
            if (hashUnit(x, y, seed) < 0.12f)
                c = scale(c, 1.25f);                     // needle texture
            L.put(x, y, c);
        }
    }
    for (int y = (int)baseY - 3; y < (int)baseY + 2; y++)
        L.put(cx, y, rgb(60, 40, 34));
}

} // namespace

Image makeFrontLayer()
{
    Layer L;
    std::vector<float> top(W);
    for (int x = 0; x < W; x++)
        top[x] = groundTop((float)x);
    auto topAt = [&](float x) { return top[Layer::wrap((int)x)]; };

    // tall things first: the ground then covers their feet
    Rng rng(0xF207);
    const float spireX[] = { 420, 1530, 2380, 3350 };
    for (float sx : spireX)
        spire(L, sx, rng.range(228, 280), topAt(sx) + 8, rng.range(24, 34), rng.range(-6, 6), rng.next());
    const int towerX[] = { 960, 2900 };
    for (int tx : towerX)
        tower(L, tx, rng.range(278, 296), topAt(tx + 10) + 6, 20, rng.next());
    const int mastX[] = { 180, 1890, 3080 };
    for (int mx : mastX)
        mast(L, mx, (int)rng.range(262, 300), (int)topAt((float)mx) + 4);
    // conifers in small stands
    for (int s = 0; s < 14; s++) {
        float cx = rng.range(0, (float)W);
        int n = 1 + rng.below(4);
        for (int k = 0; k < n; k++) {
            float x = cx + k * rng.range(6, 11);
            conifer(L, (int)x, topAt(x) + 3, rng.range(14, 34), rng.next());
        }
    }

    ground(L, top);

    for (int b = 0; b < 34; b++) {
        float x = rng.range(0, (float)W);
        float rx = rng.range(5, 15), ry = rx * rng.range(0.45f, 0.65f);
        boulder(L, x, topAt(x) + ry * 0.45f, rx, ry, rng.next());
    }

    applyKey(L.img, L.solid, rgb(255, 255, 255));
    // applyKey only moves a solid pixel off the key itself; keep all of them
    // a step below white so no light detail is ever mistaken for it
    for (size_t i = 0; i < L.img.px.size(); i++)
        if (L.solid[i]) {
            Rgb &p = L.img.px[i];
            p.r = p.r > 254.0f ? 254.0f : p.r;
            p.g = p.g > 254.0f ? 254.0f : p.g;
            p.b = p.b > 254.0f ? 254.0f : p.b;
        }
    return L.img;
}

} // namespace art
