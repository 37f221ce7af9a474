// The pictures the game loads whole: the loading picture, both scrolling
// layers, the HUD logo and lives icon, and the game-over banner.
#include "tools/assetgen/assetgen.h"
#include "tools/assetgen/pictures.h"

using namespace art;

namespace {

const int ss = 4;

// Pictures with lettering come back empty (w = 0) when the face is missing.
const Image none(0, 0, rgb(0, 0, 0));

// Logo for the top-left corner of the HUD, on the HUD's black: a round badge
// with swept wings and the game's initials.
Image logo()
{
    const int w = 78, h = 60;
    Canvas c(w, h, ss);
    Shader wing = vertical(rgb(215, 228, 245), rgb(70, 86, 128), 14, 40);
    fillPolygon(c, { { 39, 22 }, { 1, 15 }, { 8, 25 }, { 20, 34 }, { 39, 38 } }, wing);
    fillPolygon(c, { { 39, 22 }, { 77, 15 }, { 70, 25 }, { 58, 34 }, { 39, 38 } }, wing);
    Shader edge = flat(rgb(240, 130, 40));
    fillPolygon(c, { { 1, 15 }, { 14, 19 }, { 13, 21 }, { 3, 18 } }, edge);
    fillPolygon(c, { { 77, 15 }, { 64, 19 }, { 65, 21 }, { 75, 18 } }, edge);
    fillEllipse(c, 39, 30, 25, 25, flat(rgb(255, 196, 90)));
    fillEllipse(c, 39, 30, 22.5f, 22.5f, vertical(rgb(36, 52, 110), rgb(10, 14, 40), 8, 52));
    int baseline;
    Mask text = renderText(fontFile("DejaVuSans-Bold.ttf"), 21.0f * ss, "DW", 0, 0.15f, 0.0f, &baseline);
    if (text.w == 0)
        return none;
    int tx = 39 * ss - text.w / 2, ty = 30 * ss - text.h / 2;
    fillMask(c, text, tx, ty, vertical(rgb(255, 250, 225), rgb(255, 170, 60), ty / (float)ss,
                                       (ty + text.h) / (float)ss));
    Image img(w, h, rgb(0, 0, 0));
    compositeOver(c, img, 0, 0);
    return img;
}

// Lives icon: the ship in miniature on black, no key needed.
Image smallShip()
{
    const int w = 28, h = 24;
    Canvas c(w, h, ss);
    drawShip(c, 0, 3, 0.4f, 1.0f, false, false);
    Image img(w, h, rgb(0, 0, 0));
    compositeOver(c, img, 0, 0);
    return img;
}

// One line of banner text at subsample resolution, its outline already
// grown around it; empty (w = 0) when the face is missing.
struct BannerLine {
    Mask fill, outline;
};

BannerLine bannerLine(const char *text, float size, float spacing, int outline)
{
    BannerLine line;
    int baseline;
    line.fill = renderText(fontFile("DejaVuSans-Bold.ttf"), size * ss, text, outline * ss, 0.12f,
                           spacing * ss, &baseline);
    if (line.fill.w)
        line.outline = dilate(line.fill, outline * ss);
    return line;
}

// Paints a banner line centred across the canvas with its top at subsample
// row top: the dark outline, then a gradient fill.
void paintBanner(Canvas &c, const BannerLine &line, int top, Rgb fillTop, Rgb fillBottom)
{
    int ox = c.w * c.ss / 2 - line.fill.w / 2;
    fillMask(c, line.outline, ox, top, flat(rgb(24, 8, 20)));
    fillMask(c, line.fill, ox, top,
             vertical(fillTop, fillBottom, (float)top / c.ss, (float)(top + line.fill.h) / c.ss));
}

// "GAME OVER" over "PRESS ENTER", keyed on pure green. The letters have a
// dark outline, and only that outline meets the key, with a hard edge.
Image gameOver()
{
    Canvas c(256, 80, ss);
    BannerLine big = bannerLine("GAME OVER", 34.0f, 1.0f, 3);
    BannerLine small = bannerLine("PRESS ENTER", 14.0f, 2.0f, 2);
    if (big.fill.w == 0 || small.fill.w == 0)
        return none;
    // the two lines overlap by their outline pads; centre the pair
    int overlap = 3 * ss;
    int top = (c.h * ss - (big.fill.h + small.fill.h - overlap)) / 2;
    paintBanner(c, big, top, rgb(255, 236, 140), rgb(230, 60, 40));
    paintBanner(c, small, top + big.fill.h - overlap, rgb(235, 245, 255), rgb(150, 200, 255));
    Image img(c.w, c.h, rgb(0, 255, 0));
    std::vector<uint8_t> solid;
    resolveKeyed(c, img, solid, nullptr, false);
    applyKey(img, solid, rgb(0, 255, 0));
    return img;
}

} // namespace

bool makePictures(const std::string &root)
{
    std::string dir = root + "/data";
    if (!makeDirs(dir))
        return false;
    Image title = makeTitle(), badge = logo(), banner = gameOver();
    if (title.w == 0 || badge.w == 0 || banner.w == 0)
        return false;
    return saveBmp(dir + "/title.bmp", title)
           && saveBmp(dir + "/repeat.bmp", makeBackdrop())
           && saveBmp(dir + "/front.bmp", makeFrontLayer())
           && saveBmp(dir + "/logo.bmp", badge)
           && saveBmp(dir + "/smallship.bmp", smallShip())
           && saveBmp(dir + "/gameover.bmp", banner);
}
