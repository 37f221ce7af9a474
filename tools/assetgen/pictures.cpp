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
// with swept wings and the game's initials. It keeps to rows 0..35: the lives
// icons are drawn from row 36 on, ten of them reaching under the logo.
Image logo()
{
    const int w = 78, h = 36;
    Canvas c(w, h, ss);
    Shader wing = vertical(rgb(215, 228, 245), rgb(70, 86, 128), 8, 25);
    fillPolygon(c, { { 39, 13 }, { 1, 8 }, { 6, 15 }, { 18, 21 }, { 39, 25 } }, wing);
    fillPolygon(c, { { 39, 13 }, { 77, 8 }, { 72, 15 }, { 60, 21 }, { 39, 25 } }, wing);
    Shader edge = flat(rgb(240, 130, 40));
    fillPolygon(c, { { 1, 8 }, { 13, 11 }, { 12.5f, 12.5f }, { 3, 10.5f } }, edge);
    fillPolygon(c, { { 77, 8 }, { 65, 11 }, { 65.5f, 12.5f }, { 75, 10.5f } }, edge);
    fillEllipse(c, 39, 18, 17, 17, flat(rgb(255, 196, 90)));
    fillEllipse(c, 39, 18, 15, 15, vertical(rgb(36, 52, 110), rgb(10, 14, 40), 3, 33));
    int baseline;
    Mask text = renderText(fontFile("DejaVuSans-Bold.ttf"), 14.0f * ss, "DW", 0, 0.15f, 0.0f, &baseline);
    if (text.w == 0)
        return none;
    int tx = 39 * ss - text.w / 2, ty = 18 * ss - text.h / 2;
    fillMask(c, text, tx, ty, vertical(rgb(255, 250, 225), rgb(255, 170, 60), ty / (float)ss,
                                       (ty + text.h) / (float)ss));
    Image img(w, h, rgb(0, 0, 0));
    compositeOver(c, img, 0, 0);
    return img;
}

// Lives icon: the ship in miniature on black, no key needed. The game draws
// it at row 36, so the picture fills the top HUD line down to row 59, with the
// ship in its last 11 rows (screen rows 49..59): the lives count's capitals
// above them end at row 47, and the icons run under the count and the logo
// without touching either.
Image smallShip()
{
    const int w = 28, h = 24;
    const float k = 0.29f;      // the 70 x 44 design box to 20 x 13 pixels
    Canvas c(w, h, ss);
    drawShip(c, 4.0f, 12.2f, k, 1.0f, false, false);
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
