// Drawing kit for the picture, sprite and font generators: a private random
// generator and noise, float RGB images, a supersampled shape canvas, coverage
// masks, FreeType text and the BMP encoder. Everything lives in namespace art
// so that nothing collides with the other generators in the same library.
#ifndef TOOLS_ASSETGEN_ART_H
#define TOOLS_ASSETGEN_ART_H

#include <stdint.h>
#include <functional>
#include <string>
#include <vector>

namespace art {

// ---- colour ---------------------------------------------------------------

// Colour channels as floats on the 0..255 scale; written out rounded.
struct Rgb {
    float r, g, b;
};

Rgb rgb(float r, float g, float b);
Rgb mix(Rgb a, Rgb b, float t);             // a at t = 0, b at t = 1
Rgb scale(Rgb c, float k);
Rgb add(Rgb a, Rgb b);
float clampf(float v, float lo, float hi);
float smoothstep(float e0, float e1, float x);
// Colour at y of a smooth vertical gradient through n (stop, colour) pairs.
Rgb gradientAt(const float *stops, const Rgb *cols, int n, float y);

// ---- random numbers and noise (art_noise.cpp) -------------------------------

// Small deterministic generator (splitmix64); each picture seeds its own.
struct Rng {
    uint64_t state;
    explicit Rng(uint64_t seed) : state(seed) {}
    uint32_t next();
    float unit();                   // [0, 1)
    float range(float lo, float hi);
    int below(int n);               // 0 .. n-1
};

uint32_t hash3(int x, int y, uint32_t seed);
float hashUnit(int x, int y, uint32_t seed);    // [0, 1)

// Value noise in [0, 1] that repeats every `period` pixels along x: the x
// lattice has `cells` cells across one period, so cells need not divide it.
float noise1(float x, int period, int cells, uint32_t seed);
float noise2(float x, float y, int period, int cells, float cellH, uint32_t seed);
// Sums of octaves (each doubles the cells, halves the weight), in [0, 1].
float fbm1(float x, int period, int cells, int octaves, uint32_t seed);
float fbm2(float x, float y, int period, int cells, float cellH, int octaves, uint32_t seed);

// 4x4 ordered-dither threshold in (0, 1) for pixel (x, y).
float bayer4(int x, int y);

// ---- images (art_image.cpp) ------------------------------------------------

struct Image {
    int w, h;
    std::vector<Rgb> px;
    Image(int width, int height, Rgb fill);
    Rgb &at(int x, int y) { return px[(size_t)y * w + x]; }
    Rgb get(int x, int y) const { return px[(size_t)y * w + x]; }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h; }
};

// Blends c over pixel (x, y) with opacity a; x wraps around when `wrap` is set
// (the scrolling strips), pixels outside are ignored.
void blend(Image &img, int x, int y, Rgb c, float a, bool wrap = false);
void fillRect(Image &img, int x0, int y0, int x1, int y1, Rgb c);

// Writes img as an uncompressed 24-bit Windows BMP (bottom-up rows, each
// padded to four bytes). Channels are rounded and clamped to 0..255.
std::vector<uint8_t> encodeBmp(const Image &img);
bool saveBmp(const std::string &path, const Image &img);

// Sets every pixel outside `solid` to the key colour and nudges solid pixels
// that would round to the key, so the game's colour key cuts exactly the
// shape out. The image is left holding whole-number channels.
void applyKey(Image &img, const std::vector<uint8_t> &solid, Rgb key);

// ---- coverage masks --------------------------------------------------------

struct Mask {
    int w, h;
    std::vector<float> a;           // 0..1 coverage per pixel
    Mask() : w(0), h(0) {}
    Mask(int width, int height) : w(width), h(height), a((size_t)width * height, 0.0f) {}
    float get(int x, int y) const
    {
        return (x < 0 || y < 0 || x >= w || y >= h) ? 0.0f : a[(size_t)y * w + x];
    }
    float &at(int x, int y) { return a[(size_t)y * w + x]; }
};

Mask dilate(const Mask &m, int radius);     // largest value within a disc
Mask blur(const Mask &m, int radius);       // three box passes, roughly Gaussian
Mask downsample(const Mask &m, int factor); // mean of factor x factor blocks

// ---- supersampled shape canvas (art_canvas.cpp) ----------------------------

struct Pt {
    float x, y;
};

// Colour of a shape at a point, in pixel units of the canvas.
typedef std::function<Rgb(float x, float y)> Shader;

// A w x h pixel picture sampled ss x ss times per pixel. Shapes paint "ink"
// subsamples with their shader's colour; later shapes paint over earlier ones.
struct Canvas {
    int w, h, ss;
    std::vector<Rgb> col;
    std::vector<uint8_t> ink;
    Canvas(int width, int height, int supersample);
};

void fillPolygon(Canvas &c, const std::vector<Pt> &poly, const Shader &shade);
void fillEllipse(Canvas &c, float cx, float cy, float rx, float ry, const Shader &shade);
// Thick straight stroke with round ends.
void fillStroke(Canvas &c, Pt a, Pt b, float width, const Shader &shade);
// Paints ink wherever a mask at subsample resolution is at least half set;
// the mask's (0, 0) lands on subsample (ox, oy).
void fillMask(Canvas &c, const Mask &m, int ox, int oy, const Shader &shade);
// Removes ink (back to empty) inside an ellipse; for cut-outs.
void eraseEllipse(Canvas &c, float cx, float cy, float rx, float ry);

// Shader helpers.
Shader flat(Rgb c);
Shader vertical(Rgb top, Rgb bottom, float y0, float y1);

// Fraction of inked subsamples and their mean colour, per pixel.
Mask coverage(const Canvas &c);
Image meanColour(const Canvas &c, Rgb empty);

// Sprite with a colour key: a pixel is solid when at least half of it is
// inked. With an outline colour, empty pixels touching a solid one (also
// diagonally when `thick`) become that colour, which keeps the silhouette
// readable on any background. Fills img and solid.
void resolveKeyed(const Canvas &c, Image &img, std::vector<uint8_t> &solid,
                  const Rgb *outline, bool thick);
// Anti-aliased composite of the canvas onto dst at (ox, oy).
void compositeOver(const Canvas &c, Image &dst, int ox, int oy, float opacity = 1.0f);

// ---- text (art_text.cpp) ---------------------------------------------------

// Full path of one of the DejaVu faces that the system's font package installs.
std::string fontFile(const char *name);     // e.g. "DejaVuSans-Bold.ttf"

// Coverage mask of a line of text at a pixel size, with `pad` empty pixels on
// every side, an optional italic shear (x += shear * height above baseline)
// and extra letter spacing in pixels. baselineY gets the baseline row.
// Returns an empty mask (w = 0) and prints why when the font cannot be used.
Mask renderText(const std::string &font, float pixelSize, const std::string &text, int pad,
                float shear, float spacing, int *baselineY);

// Draws a mask's coverage onto img at (ox, oy) with a shader in image pixels.
void paintMask(Image &img, const Mask &m, int ox, int oy, const Shader &shade,
               float opacity = 1.0f);

// ---- shared game art (art_ship.cpp) ----------------------------------------

// The player's ship facing right, drawn into a canvas with its 70 x 44 design
// box scaled by k and moved to (ox, oy). `flame` 0..1 sets the engine flame
// length; `ghost` draws the pale invulnerability look; `flameOnly` skips the hull.
void drawShip(Canvas &c, float ox, float oy, float k, float flame, bool ghost,
              bool flameOnly);

} // namespace art

#endif
