// The player's ship, drawn from shapes in a 70 x 44 design box so that the
// same craft serves as the sprite, the lives icon and the title picture.
// Nose and cannon sit on the right at rows 20..23: the game fires its bullets
// from 70 px right of and 19 px below the ship's corner.
#include "tools/assetgen/art.h"

#include <math.h>

namespace art {

namespace {

// Maps design-box points to canvas pixels.
struct ShipFrame {
    float ox, oy, k;
    bool ghost;
    Pt p(float x, float y) const
    {
        Pt q = { ox + x * k, oy + y * k };
        return q;
    }
    std::vector<Pt> poly(std::initializer_list<Pt> pts) const
    {
        std::vector<Pt> out;
        for (Pt q : pts)
            out.push_back(p(q.x, q.y));
        return out;
    }
    // Design-box y of a canvas y, for shaders.
    float v(float y) const { return (y - oy) / k; }
    float u(float x) const { return (x - ox) / k; }
    // The invulnerability look: every colour washed toward pale cyan.
    Rgb tone(Rgb c) const { return ghost ? mix(c, rgb(190, 240, 255), 0.62f) : c; }
};

void drawFlame(Canvas &c, const ShipFrame &f, float flame)
{
    float root = 11.0f, tip = root - 10.5f * flame;
    float len = root - tip;
    Shader outer = [f, tip, len](float x, float) {
        float t = clampf((f.u(x) - tip) / len, 0.0f, 1.0f);     // 0 at tip, 1 at root
        return mix(rgb(200, 40, 20), rgb(255, 170, 40), t);
    };
    Shader inner = [f, tip, len](float x, float) {
        float t = clampf((f.u(x) - tip) / len, 0.0f, 1.0f);
        return mix(rgb(255, 200, 80), rgb(255, 250, 225), t);
    };
    std::vector<Pt> plume = f.poly({ { root, 16.8f }, { tip + len * 0.4f, 18.6f }, { tip, 22.0f },
                                     { tip + len * 0.4f, 25.4f }, { root, 27.2f } });
    fillPolygon(c, plume, outer);
    fillEllipse(c, f.p(root - len * 0.32f, 22).x, f.p(0, 22).y, len * 0.5f * f.k, 2.8f * f.k, inner);
}

void drawHull(Canvas &c, const ShipFrame &f)
{
    // tail fin first, the fuselage overlaps its root
    Shader fin = [f](float, float y) {
        return f.tone(mix(rgb(70, 150, 200), rgb(30, 70, 120), clampf((f.v(y) - 4) / 11, 0, 1)));
    };
    fillPolygon(c, f.poly({ { 12, 16 }, { 24, 14.5f }, { 16.5f, 5 }, { 11, 3.5f }, { 10, 5 } }), fin);
    fillPolygon(c, f.poly({ { 16.5f, 5 }, { 24, 14.5f }, { 21.5f, 14.8f }, { 15, 6.3f } }),
                flat(f.tone(rgb(240, 140, 40))));

    // far wing, behind the fuselage, in shadow
    fillPolygon(c, f.poly({ { 30, 15 }, { 44, 14 }, { 33, 7.5f }, { 27, 8 } }),
                flat(f.tone(rgb(55, 70, 100))));

    // engine nozzle
    fillPolygon(c, f.poly({ { 8.5f, 17 }, { 14, 15.5f }, { 14, 28.5f }, { 8.5f, 27 } }),
                vertical(f.tone(rgb(120, 120, 130)), f.tone(rgb(40, 40, 50)), f.oy + 16 * f.k, f.oy + 28 * f.k));

    // fuselage: lit from above, a cool metallic ramp
    Shader body = [f](float, float y) {
        float t = clampf((f.v(y) - 11.0f) / 18.0f, 0.0f, 1.0f);
        Rgb top = rgb(225, 232, 242), midc = rgb(150, 165, 190), low = rgb(55, 64, 92);
        return f.tone(t < 0.45f ? mix(top, midc, t / 0.45f) : mix(midc, low, (t - 0.45f) / 0.55f));
    };
    fillPolygon(c, f.poly({ { 12, 15.5f }, { 21, 13.5f }, { 34, 12.5f }, { 46, 12 }, { 57, 15 },
                            { 64.5f, 18 }, { 69.5f, 21 }, { 64.5f, 23.5f }, { 54, 25.5f },
                            { 40, 27.5f }, { 24, 28.5f }, { 12, 28 } }),
                body);

    // livery stripe along the side, and a darker belly plate
    fillPolygon(c, f.poly({ { 15, 20 }, { 52, 19 }, { 60, 19.6f }, { 52, 20.8f }, { 15, 21.8f } }),
                flat(f.tone(rgb(235, 120, 35))));
    fillPolygon(c, f.poly({ { 16, 25.5f }, { 48, 24.5f }, { 40, 27 }, { 18, 27.8f } }),
                flat(f.tone(rgb(45, 52, 78))));

    // air intake
    fillPolygon(c, f.poly({ { 27, 22.3f }, { 38, 22 }, { 36, 24.6f }, { 28, 24.8f } }),
                flat(f.tone(rgb(25, 28, 40))));

    // panel seams
    Shader seam = flat(f.tone(rgb(70, 80, 105)));
    fillStroke(c, f.p(30, 13.5f), f.p(30, 19), 0.7f * f.k, seam);
    fillStroke(c, f.p(47, 13.5f), f.p(47, 19), 0.7f * f.k, seam);

    // canopy glass with a highlight streak
    Shader glass = [f](float x, float y) {
        float t = clampf((f.v(y) - 7.5f) / 7.0f, 0.0f, 1.0f);
        Rgb cg = mix(rgb(120, 220, 255), rgb(20, 60, 120), t);
        if (fabsf((f.u(x) - 46.0f) + (f.v(y) - 10.0f) * 0.8f) < 1.0f)
            cg = rgb(235, 250, 255);
        return f.tone(cg);
    };
    fillPolygon(c, f.poly({ { 38, 12.6f }, { 43, 8.3f }, { 50, 7.8f }, { 56.5f, 12 }, { 58, 14.8f },
                            { 50, 13.2f } }),
                glass);

    // lower wing, swept back, with an orange edge
    Shader wing = [f](float, float y) {
        float t = clampf((f.v(y) - 25.0f) / 15.0f, 0.0f, 1.0f);
        return f.tone(mix(rgb(175, 188, 210), rgb(70, 80, 110), t));
    };
    fillPolygon(c, f.poly({ { 25, 25.5f }, { 47, 24.5f }, { 36, 37 }, { 22, 41 }, { 17, 40.5f } }), wing);
    fillPolygon(c, f.poly({ { 22, 41 }, { 36, 37 }, { 37.5f, 35.2f }, { 21.5f, 39.3f } }),
                flat(f.tone(rgb(235, 120, 35))));

    // cannon under the nose; its muzzle sits where the bullets start
    fillStroke(c, f.p(50, 22.6f), f.p(67.5f, 22.6f), 1.9f * f.k,
               vertical(f.tone(rgb(170, 175, 185)), f.tone(rgb(50, 55, 70)),
                        f.oy + 21.6f * f.k, f.oy + 23.6f * f.k));
    fillEllipse(c, f.p(68, 22.6f).x, f.p(68, 22.6f).y, 1.0f * f.k, 1.0f * f.k,
                flat(f.tone(rgb(255, 210, 120))));

    // fin-tip beacon
    fillEllipse(c, f.p(12, 4.8f).x, f.p(12, 4.8f).y, 1.2f * f.k, 1.2f * f.k,
                flat(f.tone(rgb(255, 70, 60))));
}

} // namespace

void drawShip(Canvas &c, float ox, float oy, float k, float flame, bool ghost, bool flameOnly)
{
    ShipFrame f = { ox, oy, k, ghost };
    if (flame > 0.0f)
        drawFlame(c, f, flame);
    if (!flameOnly)
        drawHull(c, f);
}

} // namespace art
