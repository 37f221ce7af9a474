// The loading picture: dusk over a ringed planet, the ship streaking past and
// the game's name in big glowing letters. The game writes "LOADING" in yellow
// at (36, 36), so the top-left corner is kept dark and free of stars.
#include "tools/assetgen/pictures.h"

#include <math.h>

namespace art {

namespace {

const int W = 640, H = 480;

// The area around the "LOADING" text, with a margin.
bool nearLoadingText(float x, float y)
{
    return x > 18 && x < 150 && y > 20 && y < 68;
}

float calmness(float x, float y)
{
    float dx = fmaxf(0.0f, fmaxf(26.0f - x, x - 140.0f));
    float dy = fmaxf(0.0f, fmaxf(28.0f - y, y - 58.0f));
    return smoothstep(0.0f, 40.0f, sqrtf(dx * dx + dy * dy));
}

Rgb skyAt(float y)
{
    static const float stops[] = { 0, 220, 360, 430, 480 };
    static const Rgb cols[] = { { 4, 6, 22 }, { 20, 18, 58 }, { 70, 40, 96 }, { 140, 72, 100 },
                                { 200, 110, 90 } };
    return gradientAt(stops, cols, 5, y);
}

void skyAndStars(Image &img)
{
    for (int y = 0; y < H; y++)
        for (int x = 0; x < W; x++) {
            Rgb c = skyAt((float)y);
            // a diagonal drift of nebula, kept off the loading corner
            float n = fbm2(x + y * 0.6f, (float)y, 1280, 10, 70.0f, 5, 0x7171);
            float a = smoothstep(0.5f, 0.85f, n) * calmness((float)x, (float)y);
            Rgb tint = mix(rgb(70, 140, 170), rgb(160, 70, 150), noise2((float)x, (float)y, 640, 4, 160.0f, 0x7172));
            img.at(x, y) = add(c, scale(tint, a * 0.45f));
        }
    Rng rng(0x7173);
    for (int i = 0; i < 420; i++) {
        float x = rng.range(0, W), y = 420.0f * powf(rng.unit(), 1.4f);
        float b = rng.unit();
        b = b * b * b;
        if (nearLoadingText(x, y))
            continue;
        float a = (0.2f + 0.8f * b) * (1.0f - smoothstep(250.0f, 420.0f, y));
        blend(img, (int)x, (int)y, rgb(255, 250, 235), a);
        if (b > 0.5f)
            for (int d = -2; d <= 2; d++) {
                if (d == 0)
                    continue;
                float s = a * (abs(d) == 1 ? 0.45f : 0.15f);
                blend(img, (int)x + d, (int)y, rgb(200, 220, 255), s);
                blend(img, (int)x, (int)y + d, rgb(200, 220, 255), s);
            }
    }
}

// The ring of the planet, split so the far half can go behind the globe and
// the near half in front of it.
void ring(Image &img, float cx, float cy, bool nearHalf)
{
    const float rx = 235.0f, ry = 52.0f, tilt = -0.24f;
    float ct = cosf(tilt), st = sinf(tilt);
    for (int y = 0; y < H; y++)
        for (int x = 0; x < W; x++) {
            float px = x + 0.5f - cx, py = y + 0.5f - cy;
            float u = px * ct + py * st, v = -px * st + py * ct;   // ring frame
            if ((v > 0) != nearHalf)
                continue;
            float q = sqrtf((u / rx) * (u / rx) + (v / ry) * (v / ry));
            if (q < 0.6f || q > 1.0f)
                continue;
            float bands = noise1(q * 300.0f, 300, 60, 0x9191);
            float a = (0.5f + 0.45f * bands) * smoothstep(0.6f, 0.63f, q) * smoothstep(1.0f, 0.97f, q);
            if (q > 0.82f && q < 0.845f)
                a *= 0.15f;                                    // the gap
            Rgb c = mix(rgb(200, 170, 150), rgb(255, 225, 190), bands);
            blend(img, x, y, nearHalf ? c : scale(c, 0.7f), a);
        }
}

void planet(Image &img, float cx, float cy, float r)
{
    // lit from the upper left, a thin bright rim and a dark night side
    const float lx = -0.6f, ly = -0.5f, lz = 0.62f;
    for (int y = (int)(cy - r - 8); y < H; y++)
        for (int x = (int)(cx - r - 8); x < W; x++) {
            float dx = (x + 0.5f - cx) / r, dy = (y + 0.5f - cy) / r;
            float q = sqrtf(dx * dx + dy * dy);
            if (q < 1.0f) {
                float nz = sqrtf(1.0f - q * q);
                float light = smoothstep(-0.1f, 0.8f, dx * lx + dy * ly + nz * lz);
                float bands = fbm2(dy * 600.0f + 40.0f * noise2(dx * 200.0f, dy * 200.0f, 400, 8, 60.0f, 0x41),
                                   0.0f, 1000, 30, 1.0f, 3, 0x42);
                Rgb day = mix(rgb(92, 124, 170), rgb(190, 164, 146), 0.7f * smoothstep(0.3f, 0.75f, bands));
                Rgb c = mix(rgb(12, 10, 30), day, light);
                blend(img, x, y, c, clampf((1.0f - q) * r, 0.0f, 1.0f));
            }
            float halo = expf(-fabsf(q - 1.0f) * r / 3.0f) * clampf(-dx * 0.7f - dy * 0.6f + 0.3f, 0.0f, 1.0f);
            if (halo > 0.01f)
                blend(img, x, y, rgb(170, 210, 255), halo * 0.6f);
        }
}

void mountains(Image &img)
{
    for (int x = 0; x < W; x++) {
        float v = 1.0f - fabsf(2.0f * fbm1((float)x, W, 6, 4, 0x3131) - 1.0f);
        float top = 470.0f - 55.0f * v * v;
        for (int y = (int)top; y < H; y++) {
            float rim = expf(-(y - top) / 2.0f);
            blend(img, x, y, mix(rgb(14, 10, 26), rgb(200, 120, 110), rim * 0.5f), clampf(y + 1.0f - top, 0, 1));
        }
    }
}

// The ship, three times its sprite size, with a long blue-white exhaust trail.
void heroShip(Image &img, int ox, int oy)
{
    const float k = 3.0f;
    float trailY = oy + 22.0f * k;
    float end = ox + 24.0f;
    for (int y = (int)(trailY - 20); y < (int)(trailY + 20); y++)
        for (int x = 0; x < (int)end; x++) {
            float along = x / end;                      // 1 at the engine
            float spread = 4.0f + 10.0f * (1.0f - along);
            float a = expf(-powf((y + 0.5f - trailY) / spread, 2.0f)) * powf(along, 1.2f);
            blend(img, x, y, mix(rgb(110, 170, 255), rgb(255, 245, 225), along * along), a);
        }
    // a few speed streaks above and below the trail
    Rng rng(0x5EED);
    for (int i = 0; i < 9; i++) {
        int y = (int)(oy + rng.range(10, 120));
        int x1 = ox + (int)rng.range(-40, 40), len = (int)rng.range(60, 150);
        for (int x = x1 - len; x < x1; x++)
            blend(img, x, y, rgb(200, 225, 255), 0.35f * (float)(x - (x1 - len)) / len);
    }
    Canvas c(72 * 3, 46 * 3, 3);
    drawShip(c, 0, 0, k, 1.0f, false, false);
    compositeOver(c, img, ox, oy);
}

// Glow, dark outline and a warm gradient fill for the name; false when the
// face could not be read.
bool titleText(Image &img)
{
    int baseline;
    Mask m = renderText(fontFile("DejaVuSans-Bold.ttf"), 86.0f, "DRIFTWING", 24, 0.18f, 3.0f, &baseline);
    if (m.w == 0)
        return false;
    int ox = (W - m.w) / 2, oy = 72;
    paintMask(img, blur(dilate(m, 4), 6), ox, oy, flat(rgb(70, 160, 255)), 0.9f);
    paintMask(img, dilate(m, 3), ox, oy, flat(rgb(10, 12, 36)));
    float top = oy + 24.0f, bottom = oy + m.h - 24.0f;
    Shader fill = [top, bottom](float, float y) {
        float t = clampf((y - top) / (bottom - top), 0.0f, 1.0f);
        if (t < 0.45f)
            return mix(rgb(255, 252, 230), rgb(255, 214, 110), t / 0.45f);
        if (t < 0.5f)
            return rgb(190, 90, 40);                    // horizon line across the letters
        return mix(rgb(255, 170, 70), rgb(220, 80, 50), (t - 0.5f) / 0.5f);
    };
    paintMask(img, m, ox, oy, fill);

    // a thin rule with a diamond under the name
    float ry = oy + m.h - 12.0f;
    for (int x = 150; x < 490; x++) {
        float a = 1.0f - fabsf(x - 320.0f) / 170.0f;
        blend(img, x, (int)ry, rgb(255, 210, 140), a * 0.9f);
    }
    for (int y = -4; y <= 4; y++)
        for (int x = -4; x <= 4; x++)
            if (abs(x) + abs(y) <= 4)
                blend(img, 320 + x, (int)ry + y, rgb(255, 230, 170), 1.0f);
    return true;
}

} // namespace

Image makeTitle()
{
    Image img(W, H, rgb(0, 0, 0));
    skyAndStars(img);
    ring(img, 505.0f, 345.0f, false);
    planet(img, 505.0f, 345.0f, 112.0f);
    ring(img, 505.0f, 345.0f, true);
    mountains(img);
    heroShip(img, 80, 250);
    if (!titleText(img))
        return Image(0, 0, rgb(0, 0, 0));
    return img;
}

} // namespace art
