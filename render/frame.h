#ifndef RENDER_FRAME_H
#define RENDER_FRAME_H

// The fixed credit line at the bottom right of the HUD.
extern const char creditLine[];

// Composes one whole frame on screen and flips it.
void renderFrame();

#endif
