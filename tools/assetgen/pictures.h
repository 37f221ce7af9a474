// The full-size pictures, each made in its own file; pictures.cpp writes them.
#ifndef TOOLS_ASSETGEN_PICTURES_H
#define TOOLS_ASSETGEN_PICTURES_H

#include "tools/assetgen/art.h"

namespace art {

// Both scrolling layers repeat every stripPeriod columns; the game shows rows
// 0..stripHeight-1 of them in the play band.
const int stripPeriod = 3909;
const int stripHeight = 400;

// The far backdrop: night sky, a planet, mountains. Seamless across the period.
Image makeBackdrop();

// The front layer: rocky ground with spires, towers and trees. Pixels outside
// `solid` are pure white (the game's key); solid ones are never pure white.
Image makeFrontLayer();

// The 640 x 480 loading picture with the game's name; empty (w = 0) when the
// title face could not be read.
Image makeTitle();

// The game's icon, size x size: the ship on a round badge. Keyed on pure
// magenta outside the badge when `keyed`, else on black.
Image makeIcon(int size, bool keyed);

} // namespace art

#endif
