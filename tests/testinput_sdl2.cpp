// Test input on SDL 2: the keyboard state is written at the key's scancode
// (the game looks keys up the same way), events are pushed on the queue, and
// the pad is a virtual game controller whose state SDL turns into controller
// events itself.
#include "tests/testinput.h"

static Uint8 *keyState()
{
    // SDL hands out its own array; the tests stand in for the keyboard.
    return (Uint8 *)SDL_GetKeyboardState(NULL);
}

void holdKey(int sym, bool down)
{
    SDL_Scancode code = SDL_GetScancodeFromKey((SDL_Keycode)sym);
    if (code != SDL_SCANCODE_UNKNOWN)
        keyState()[code] = down ? 1 : 0;
}

void releaseAllKeys()
{
    int count = 0;
    SDL_GetKeyboardState(&count);
    Uint8 *keys = keyState();
    for (int k = 0; k < count; k++)
        keys[k] = 0;
}

void pushKeyDown(int sym, int mod)
{
    SDL_Event e = {};
    e.type = SDL_KEYDOWN;
    e.key.state = SDL_PRESSED;
    e.key.keysym.sym = (SDL_Keycode)sym;
    e.key.keysym.scancode = SDL_GetScancodeFromKey((SDL_Keycode)sym);
    e.key.keysym.mod = (Uint16)mod;
    SDL_PushEvent(&e);
}

void pushFocus(bool gained)
{
    SDL_Event e = {};
    e.type = SDL_WINDOWEVENT;
    e.window.event = gained ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST;
    SDL_PushEvent(&e);
}

static SDL_Joystick *testPad;
static int testPadIndex = -1;

bool attachTestPad()
{
    if (testPad)
        return true;
    // SDL drops a pad's presses while no window of the program has the
    // keyboard focus, and the dummy driver's window never gets it.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
    testPadIndex = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER,
                                             SDL_CONTROLLER_AXIS_MAX, SDL_CONTROLLER_BUTTON_MAX, 0);
    if (testPadIndex < 0)
        return false;
    testPad = SDL_JoystickOpen(testPadIndex);
    return testPad != nullptr;
}

void detachTestPad()
{
    if (!testPad)
        return;
    SDL_JoystickClose(testPad);
    SDL_JoystickDetachVirtual(testPadIndex);
    testPad = nullptr;
    testPadIndex = -1;
}

// Axes 0 and 1 are the left stick, 2 the right stick's left-right.
void padStick(int axis, int value)
{
    static const int axes[] = { SDL_CONTROLLER_AXIS_LEFTX, SDL_CONTROLLER_AXIS_LEFTY,
                                SDL_CONTROLLER_AXIS_RIGHTX };
    SDL_JoystickSetVirtualAxis(testPad, axes[axis], (Sint16)value);
}

// The virtual controller has no hat: its D-pad is four buttons.
void padDpad(Uint8 hat)
{
    SDL_JoystickSetVirtualButton(testPad, SDL_CONTROLLER_BUTTON_DPAD_UP, (hat & SDL_HAT_UP) != 0);
    SDL_JoystickSetVirtualButton(testPad, SDL_CONTROLLER_BUTTON_DPAD_DOWN, (hat & SDL_HAT_DOWN) != 0);
    SDL_JoystickSetVirtualButton(testPad, SDL_CONTROLLER_BUTTON_DPAD_LEFT, (hat & SDL_HAT_LEFT) != 0);
    SDL_JoystickSetVirtualButton(testPad, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, (hat & SDL_HAT_RIGHT) != 0);
}

// A press and its release, as one tap of the button; SDL reports the press
// at the next update and the release at the one after.
void padButton(TestPadButton button)
{
    int b = button == testPadFire ? SDL_CONTROLLER_BUTTON_A
            : button == testPadStart ? SDL_CONTROLLER_BUTTON_START : SDL_CONTROLLER_BUTTON_B;
    SDL_JoystickSetVirtualButton(testPad, b, 1);
    SDL_JoystickUpdate();
    SDL_JoystickSetVirtualButton(testPad, b, 0);
}

void padBack(bool down)
{
    SDL_JoystickSetVirtualButton(testPad, SDL_CONTROLLER_BUTTON_BACK, down);
}

static SDL_Window *gameWindow()
{
    for (Uint32 id = 1; id < 64; id++)
        if (SDL_Window *w = SDL_GetWindowFromID(id))
            return w;
    return nullptr;
}

SDL_Surface *shownPicture()
{
    SDL_Window *w = gameWindow();
    SDL_Renderer *r = w ? SDL_GetRenderer(w) : nullptr;
    int width, height;
    if (!r || SDL_GetRendererOutputSize(r, &width, &height) != 0)
        return nullptr;
    SDL_Surface *s = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGB888);
    // Reading covers the viewport, which the logical size narrows to the
    // picture: without it, the whole window with its black bars is read.
    int logicalW, logicalH;
    SDL_RenderGetLogicalSize(r, &logicalW, &logicalH);
    SDL_bool whole = SDL_RenderGetIntegerScale(r);
    SDL_RenderSetLogicalSize(r, 0, 0);
    if (s && SDL_RenderReadPixels(r, NULL, SDL_PIXELFORMAT_RGB888, s->pixels, s->pitch) != 0) {
        SDL_FreeSurface(s);
        s = nullptr;
    }
    SDL_RenderSetLogicalSize(r, logicalW, logicalH);
    SDL_RenderSetIntegerScale(r, whole);
    return s;
}

SDL_version linkedSdlVersion()
{
    SDL_version v;
    SDL_GetVersion(&v);
    return v;
}

void setPixelAlphaBlend(SDL_Surface *s, bool on)
{
    SDL_SetSurfaceBlendMode(s, on ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_NONE);
}

void setPaletteColour(SDL_Surface *s, int index, SDL_Color c)
{
    SDL_SetPaletteColors(s->format->palette, &c, index, 1);
}
