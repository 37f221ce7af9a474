// What the tests do that SDL 1.2 and SDL 2 spell differently, as the same
// calls on both: input fed to the game as the system would (keys by the SDLK_
// names both share, the window's focus and a gamepad), and a look at what the
// display shows.
#ifndef TESTS_TESTINPUT_H
#define TESTS_TESTINPUT_H

#include <SDL.h>

// The key state the game reads: held or not, every key up.
void holdKey(int sym, bool down);
void releaseAllKeys();

// A key-down event with the given modifiers (KMOD_ values) on the queue.
void pushKeyDown(int sym, int mod = 0);
// The window losing (false) or regaining (true) the input focus.
void pushFocus(bool gained);

// The gamepad. SDL 1.2 gets the joystick events a pad would send, as pad 0;
// SDL 2 gets a virtual game controller through SDL's own controller layer.
// attachTestPad makes one (call once the game's input is open); false where
// the library cannot.
enum TestPadButton { testPadFire, testPadStart, testPadOther };
bool attachTestPad();
void detachTestPad();
void padStick(int axis, int value);     // 0: left-right, 1: up-down, 2: another axis
void padDpad(Uint8 hat);                // SDL_HAT_ bits
void padButton(TestPadButton button);
void padBack(bool down);                // Back (Select) pressed or let go
// SDL 1.2 only: pad `pad`'s button of that number pressed or let go.
void pushPadButton(int button, bool down, int pad = 0);

// The version of the SDL library the program runs on.
SDL_version linkedSdlVersion();

// Turns blending by a surface's per-pixel alpha on or off for blits from it.
void setPixelAlphaBlend(SDL_Surface *s, bool on);

// Sets one entry of an 8-bit surface's palette.
void setPaletteColour(SDL_Surface *s, int index, SDL_Color c);

// What the display shows now, as a 32-bit 0xRRGGBB surface the caller frees.
SDL_Surface *shownPicture();

#endif
