// The draw log: every fill, blit and frame shown that a timed demo makes, so
// that a reference program can repeat exactly that drawing with plain SDL.
// The same on either SDL.
//   'V' i32 w, h, scale, u32 flags, u8 n, n bytes: how frames are shown,
//       first in the log: the size of the video surface or window, the
//       whole factor the picture is shown at, show* bits below, and the
//       name of the SDL 2 renderer that presents it (n = 0: none)
//   'S' u32 id, i32 w, h, bpp, pitch, u32 Rmask Gmask Bmask Amask flags
//       colorkey, u8 alpha, then h * pitch bytes of pixels: a surface, at
//       its first use (id 0 is the picture the game draws into), flags
//       from the log* bits below
//   'B' u32 src, dst, u8 hasSrcRect, i16 x y u16 w h, i16 dx dy: a blit
//   'F' u32 dst, u8 hasRect, i16 x y u16 w h, u32 colour: a fill
//   'P' a frame shown (a flip, a present, or an update of the window)
#ifndef BENCH_DRAWLOG_H
#define BENCH_DRAWLOG_H

const unsigned logColourKey = 1;    // blits leave out the colour key
const unsigned logAlphaBlend = 2;   // blits blend by alpha
const unsigned logRle = 4;          // run-length acceleration asked for

const unsigned showFullScreen = 1;  // full screen (SDL 2: at the desktop's size)
const unsigned showOffscreen = 2;   // SDL 1.2: drawn off-screen, copied to the video surface
#endif
