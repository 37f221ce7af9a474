// The sprite sets: ship, bullet, enemy and cloud. Each is a directory with an
// "info" file and 24-bit BMP frames keyed on magenta, a colour none of the
// artwork uses. Frames are drawn on a supersampled canvas and cut at half
// coverage, with a dark outline where it helps them read on the backdrop.
#include "tools/assetgen/assetgen.h"
#include "tools/assetgen/art.h"

#include <math.h>
#include <stdio.h>

using namespace art;

namespace {

const Rgb keyMagenta = { 255, 0, 255 };
const int ss = 4;

struct Frame {
    std::string name;
    int delay;
    Image img;
};

bool writeSet(const std::string &dir, const char *what, const std::vector<Frame> &frames)
{
    if (!makeDirs(dir))
        return false;
    std::string info = "FILES: " + std::to_string(frames.size()) + "\n";
    info += std::string("# ") + what + "\n";
    info += "# name, delay in ms, colour key r g b\n";
    for (const Frame &f : frames) {
        if (!saveBmp(dir + "/" + f.name, f.img))
            return false;
        info += f.name + " " + std::to_string(f.delay) + " 255 0 255\n";
    }
    return writeText(dir + "/info", info);
}

Image keyed(const Canvas &c, const Rgb *outline, bool thick)
{
    Image img(c.w, c.h, keyMagenta);
    std::vector<uint8_t> solid;
    resolveKeyed(c, img, solid, outline, thick);
    applyKey(img, solid, keyMagenta);
    return img;
}

// ---- ship ------------------------------------------------------------------

std::vector<Frame> shipFrames()
{
    const Rgb dark = { 14, 16, 30 }, glow = { 110, 200, 235 };
    std::vector<Frame> out;
    Canvas normal(70, 44, ss);
    drawShip(normal, 0, 0, 1.0f, 1.0f, false, false);
    out.push_back({ "ship0.bmp", 100, keyed(normal, &dark, false) });
    // invulnerable blink: a pale shield-lit ship, then only the flame
    Canvas ghost(70, 44, ss);
    drawShip(ghost, 0, 0, 1.0f, 0.85f, true, false);
    out.push_back({ "ship1.bmp", 100, keyed(ghost, &glow, false) });
    Canvas flame(70, 44, ss);
    drawShip(flame, 0, 0, 1.0f, 0.7f, false, true);
    out.push_back({ "ship2.bmp", 80, keyed(flame, nullptr, false) });
    return out;
}

// ---- bullet ----------------------------------------------------------------

// A plasma bolt: white core, cyan body, a tail that thins out to the left.
// The two frames differ only in the tail, so the shimmer stays subtle.
Image bulletFrame(int variant)
{
    Canvas c(16, 6, ss);
    float tail = variant ? 1.5f : 0.0f;
    fillPolygon(c, { { tail, 3.0f }, { 9.0f, 1.2f }, { 9.0f, 4.8f } },
                [tail](float x, float) { return mix(rgb(30, 90, 220), rgb(80, 200, 255), clampf((x - tail) / 9.0f, 0, 1)); });
    fillEllipse(c, 10.5f, 3.0f, 5.2f, 2.5f, flat(rgb(90, 215, 255)));
    fillEllipse(c, 11.0f, 3.0f, 3.6f, 1.5f, flat(rgb(210, 250, 255)));
    fillEllipse(c, 11.8f, 3.0f, 1.8f, 0.9f, flat(rgb(255, 255, 250)));
    return keyed(c, nullptr, false);
}

// ---- enemies (facing left) ---------------------------------------------------

const Rgb enemyOutline = { 20, 8, 14 };

// A crimson raider: a wedge with forward mandibles, swept fins and one eye.
Image raider()
{
    Canvas c(44, 36, ss);
    Shader fin = vertical(rgb(150, 40, 50), rgb(70, 15, 30), 2, 34);
    fillPolygon(c, { { 24, 12 }, { 37, 2 }, { 42, 3.5f }, { 36, 13 } }, fin);
    fillPolygon(c, { { 24, 24 }, { 37, 34 }, { 42, 32.5f }, { 36, 23 } }, fin);
    // engines glowing violet at the back
    fillEllipse(c, 41.0f, 14.5f, 2.6f, 2.0f, flat(rgb(200, 120, 255)));
    fillEllipse(c, 41.0f, 21.5f, 2.6f, 2.0f, flat(rgb(200, 120, 255)));
    Shader body = [](float, float y) {
        float t = clampf((y - 9.0f) / 18.0f, 0.0f, 1.0f);
        return t < 0.4f ? mix(rgb(250, 120, 95), rgb(200, 45, 45), t / 0.4f)
                        : mix(rgb(200, 45, 45), rgb(85, 15, 30), (t - 0.4f) / 0.6f);
    };
    fillPolygon(c, { { 3, 18 }, { 13, 12 }, { 28, 9.5f }, { 39, 12.5f }, { 41, 18 }, { 39, 23.5f },
                     { 28, 26.5f }, { 13, 24 } }, body);
    // mandibles reaching forward
    Shader claw = vertical(rgb(235, 170, 120), rgb(120, 40, 40), 5, 31);
    fillPolygon(c, { { 14, 12.5f }, { 2, 6 }, { 6, 5 }, { 19, 11 } }, claw);
    fillPolygon(c, { { 14, 23.5f }, { 2, 30 }, { 6, 31 }, { 19, 25 } }, claw);
    // armour plates
    Shader seam = flat(rgb(110, 20, 35));
    fillStroke(c, { 22, 11 }, { 22, 25 }, 0.8f, seam);
    fillStroke(c, { 31, 10.5f }, { 31, 25.5f }, 0.8f, seam);
    // the eye: a yellow glow with a white centre
    fillEllipse(c, 13.5f, 18.0f, 4.2f, 3.4f, flat(rgb(60, 10, 20)));
    fillEllipse(c, 13.5f, 18.0f, 3.2f, 2.5f, flat(rgb(255, 200, 40)));
    fillEllipse(c, 12.8f, 17.5f, 1.4f, 1.1f, flat(rgb(255, 255, 220)));
    return keyed(c, &enemyOutline, false);
}

// A brass saucer drone with a glowing dome and a nose cannon.
Image saucer()
{
    Canvas c(44, 36, ss);
    // cannon pointing left
    fillStroke(c, { 3, 21 }, { 14, 21 }, 2.2f, vertical(rgb(160, 160, 170), rgb(50, 50, 60), 20, 22.2f));
    // dome of red-lit glass
    Shader dome = [](float x, float y) {
        float d = hypotf((x - 20.0f) / 9.0f, (y - 11.0f) / 7.0f);
        return mix(rgb(255, 170, 170), rgb(150, 20, 50), clampf(d, 0.0f, 1.0f));
    };
    fillEllipse(c, 23.0f, 16.0f, 10.0f, 8.5f, dome);
    // the disc body, brass with a bright rim
    Shader disc = [](float, float y) {
        float t = clampf((y - 14.0f) / 14.0f, 0.0f, 1.0f);
        return t < 0.35f ? mix(rgb(255, 225, 130), rgb(200, 150, 55), t / 0.35f)
                         : mix(rgb(200, 150, 55), rgb(70, 45, 25), (t - 0.35f) / 0.65f);
    };
    fillEllipse(c, 23.0f, 21.0f, 20.0f, 7.0f, disc);
    fillEllipse(c, 23.0f, 25.5f, 11.0f, 4.0f, flat(rgb(60, 40, 25)));
    // lights around the rim and an exhaust glow underneath
    for (int i = 0; i < 5; i++)
        fillEllipse(c, 9.0f + i * 7.0f, 21.0f + (i == 0 || i == 4 ? -0.3f : 0.6f), 1.2f, 1.0f,
                    flat(rgb(120, 255, 230)));
    fillEllipse(c, 23.0f, 29.5f, 5.0f, 2.0f, flat(rgb(255, 150, 60)));
    fillEllipse(c, 23.0f, 29.3f, 2.5f, 1.0f, flat(rgb(255, 240, 180)));
    return keyed(c, &enemyOutline, false);
}

// ---- cloud -----------------------------------------------------------------

// A soft cloud from a few overlapping puffs. The key is all or nothing, so the
// soft rim is an ordered dither of the density, thinning out towards the edge.
// Frames of one cloud differ only in the dither's phase: a set of more than
// one frame may be cycled quickly, and then the rim shimmers instead of the
// cloud changing shape.
Image cloud(uint32_t seed, int phase)
{
    const int w = 120, h = 44;
    Rng rng(seed);
    struct Puff { float x, y, r; };
    std::vector<Puff> puffs;
    // a broad base of puffs and a few bigger ones heaped on top of it
    for (int i = 0; i < 6; i++)
        puffs.push_back({ 16.0f + i * 17.5f + rng.range(-3, 3), 31.0f + rng.range(-2, 1),
                          10.0f + rng.range(0, 3) + (i == 0 || i == 5 ? -1.5f : 1.0f) });
    for (int i = 0; i < 3; i++)
        puffs.push_back({ 38.0f + i * 22.0f + rng.range(-4, 4), 20.0f + rng.range(-2, 2),
                          12.0f + rng.range(0, 4) - (i == 2 ? 2.0f : 0.0f) });
    // density: the strongest puff at each pixel, a flat bottom and some grain
    std::vector<float> dens((size_t)w * h, 0.0f);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            float d = 0.0f;
            for (const Puff &p : puffs) {
                float q = hypotf(x + 0.5f - p.x, (y + 0.5f - p.y) * 1.15f) / p.r;
                d = fmaxf(d, clampf(1.2f - q, 0.0f, 1.0f));
            }
            d *= smoothstep(h - 2.0f, h - 9.0f, y + 0.5f);
            dens[(size_t)y * w + x] = d + (hashUnit(x, y, seed) - 0.5f) * 0.06f;
        }
    auto at = [&](int x, int y) {
        return (x < 0 || y < 0 || x >= w || y >= h) ? 0.0f : dens[(size_t)y * w + x];
    };
    Image img(w, h, keyMagenta);
    std::vector<uint8_t> solid((size_t)w * h, 0);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            float d = at(x, y);
            if (d < 0.08f + 0.3f * bayer4(x + phase, y + phase))
                continue;
            solid[(size_t)y * w + x] = 1;
            // each puff is a ball lit from the upper left; the nearest ball
            // surface wins, which leaves soft creases where puffs meet
            float sx = 0.0f, sy = 0.0f, sz = 0.0f;
            for (const Puff &p : puffs) {
                float nx = (x + 0.5f - p.x) / p.r, ny = (y + 0.5f - p.y) / p.r;
                float q2 = nx * nx + ny * ny;
                if (q2 >= 1.0f)
                    continue;
                float nz = sqrtf(1.0f - q2);
                // nearer surfaces weigh more; blending keeps the creases soft
                float wgt = expf(nz * p.r * 0.6f);
                sx += nx * wgt;
                sy += ny * wgt;
                sz += nz * wgt;
            }
            float len = sqrtf(sx * sx + sy * sy + sz * sz);
            float lit = len > 0.0f ? clampf((-0.35f * sx - 0.75f * sy + 0.55f * sz) / len, 0.0f, 1.0f) : 0.3f;
            lit = clampf(lit * 0.85f + (1.0f - (float)y / h) * 0.3f, 0.0f, 1.0f);
            Rgb shade = mix(rgb(118, 124, 170), rgb(232, 234, 246), lit);
            img.at(x, y) = mix(rgb(150, 156, 194), shade, smoothstep(0.08f, 0.45f, d));
        }
    applyKey(img, solid, keyMagenta);
    return img;
}

} // namespace

bool makeSpriteSets(const std::string &root)
{
    std::vector<Frame> bullet = { { "bullet0.bmp", 60, bulletFrame(0) },
                                  { "bullet1.bmp", 60, bulletFrame(1) } };
    std::vector<Frame> enemy = { { "raider.bmp", 100, raider() },
                                 { "saucer.bmp", 100, saucer() } };
    std::vector<Frame> clouds = { { "cloud0.bmp", 300, cloud(0xC10D1, 0) },
                                  { "cloud1.bmp", 300, cloud(0xC10D1, 2) } };
    return writeSet(root + "/data/ship", "player ship: normal, then the invulnerability blink",
                    shipFrames())
           && writeSet(root + "/data/bullet", "player shot, two shimmer frames", bullet)
           && writeSet(root + "/data/enemy", "enemy designs: raider, saucer", enemy)
           && writeSet(root + "/Data/cloud", "drifting clouds", clouds);
}
