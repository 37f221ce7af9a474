// The two scrolling layers of the play band.
#ifndef RENDER_BACKDROP_H
#define RENDER_BACKDROP_H

const int stripPeriod = 3909;   // width of the repeating strips
const int bandTop = 60;         // screen row of the band's top edge
const int bandHeight = 400;

void drawBackdrop();
void drawFrontLayer();

#endif
