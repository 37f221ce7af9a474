// The window icon: the ship seen from the side on a round night-sky badge,
// so it reads at 32 x 32 in a task bar. The same drawing serves any size.
#include "tools/assetgen/assetgen.h"
#include "tools/assetgen/pictures.h"

namespace art {

Image makeIcon(int size, bool keyed)
{
    const int ss = 4;
    float s = (float)size;
    Canvas c(size, size, ss);
    // the badge: a dark-blue disc with a lighter rim
    fillEllipse(c, s / 2, s / 2, s * 0.48f, s * 0.48f, flat(rgb(120, 190, 235)));
    fillEllipse(c, s / 2, s / 2, s * 0.43f, s * 0.43f,
                vertical(rgb(20, 30, 80), rgb(70, 40, 110), s * 0.05f, s * 0.95f));
    // the ship fills most of the disc: its 70 x 44 box scaled to 80 % of the width
    float k = s * 0.8f / 70.0f;
    drawShip(c, s * 0.1f, (s - 44.0f * k) / 2, k, 1.0f, false, false);
    Rgb key = rgb(255, 0, 255);
    if (!keyed) {
        Image img(size, size, rgb(0, 0, 0));
        compositeOver(c, img, 0, 0);
        return img;
    }
    Image img(size, size, key);
    std::vector<uint8_t> solid;
    resolveKeyed(c, img, solid, nullptr, false);
    applyKey(img, solid, key);
    return img;
}

} // namespace art

bool makeIconPicture(const std::string &root)
{
    return art::saveBmp(root + "/data/icon.bmp", art::makeIcon(32, true));
}
