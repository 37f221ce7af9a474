// The display on SDL 2: one window, a renderer and a streaming texture. The
// game draws into a 640 x 480 software surface of its own; showing a frame
// uploads those pixels to the texture and lets the renderer draw it scaled by
// a whole factor, letterboxed in whatever size the window has, never
// smoothed. Full screen keeps the desktop's mode, so switching never changes
// the monitor's resolution, and the surface the game draws into never moves.
#include "platform/display.h"
#include "platform/sdl2/frame.h"
#include "platform/displayenv.h"

#include <stdlib.h>

static SDL_Window *window;
static Uint32 windowId;
static SDL_Renderer *renderer;
static SDL_Texture *texture;
static SDL_Surface *drawSurface;    // what the game draws into
static bool vsyncWanted;
int presentScale = 1;
int presentFullscreen = 1;

// Only while the window lives: once SDL's video system has been shut down
// there is no display, and so no display format, as on SDL 1.2.
SDL_Surface *frameSurface()
{
    if (!window || !SDL_WasInit(SDL_INIT_VIDEO) || SDL_GetWindowFromID(windowId) != window)
        return nullptr;
    return drawSurface;
}

// SDL 2 has a Wayland driver of its own.
const char *displayMissing()
{
    return displayMissingFor(getenv("SDL_VIDEODRIVER"), getenv("DISPLAY"),
                             getenv("WAYLAND_DISPLAY"), true);
}

bool startSystem(bool sound)
{
    // The game controller system brings the joystick system with it.
    Uint32 systems = SDL_INIT_VIDEO | SDL_INIT_GAMECONTROLLER;
    if (sound)
        systems |= SDL_INIT_AUDIO;
    if (SDL_Init(systems) < 0)
        return false;
    if (unseenFallback(SDL_GetCurrentVideoDriver())) {
        SDL_Quit();
        sayNoDisplay();
        return false;
    }
    atexit(SDL_Quit);
    return true;
}

bool desktopSize(int *w, int *h)
{
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0 || mode.w <= 0 || mode.h <= 0)
        return false;
    *w = mode.w;
    *h = mode.h;
    return true;
}

// Full screen keeps the desktop's mode, so in either mode the picture fits
// where the desktop holds it.
int fittingScale(int wanted, bool fullscreen, int *roomW, int *roomH)
{
    (void)fullscreen;
    *roomW = *roomH = 0;
    if (!desktopSize(roomW, roomH))
        return wanted;
    return fitScale(*roomW, *roomH, wanted);
}

bool requestVsync()
{
    vsyncWanted = true;
    return true;
}

// Pure magenta is the icon's transparent colour; SDL turns the key into
// alpha for the window manager. A missing icon is no reason to stop.
static void setIcon()
{
    SDL_Surface *icon = SDL_LoadBMP("data/icon.bmp");
    if (!icon)
        return;
    SDL_SetColorKey(icon, SDL_TRUE, SDL_MapRGB(icon->format, 255, 0, 255));
    SDL_SetWindowIcon(window, icon);
    SDL_FreeSurface(icon);
}

static Uint32 fullscreenFlag(bool fullscreen)
{
    return fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0;
}

// Window, renderer, texture and the game's surface, made once per run.
static bool createDisplay(int scale, bool fullscreen)
{
    // Before the texture is made: its scaling repeats pixels, never blends them.
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    // Hidden until the renderer is made: SDL may make the window anew for
    // the renderer it picks, and a player should see only the one.
    window = SDL_CreateWindow("Driftwing", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                              gameWidth * scale, gameHeight * scale,
                              fullscreenFlag(fullscreen) | SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN);
    if (!window)
        return false;
    windowId = SDL_GetWindowID(window);
    renderer = SDL_CreateRenderer(window, -1, vsyncWanted ? SDL_RENDERER_PRESENTVSYNC : 0);
    if (!renderer)
        return false;
    setIcon();
    // Whatever the window's size, the frame is shown at the largest whole
    // factor that fits, centred, with black bars around it.
    SDL_RenderSetLogicalSize(renderer, gameWidth, gameHeight);
    SDL_RenderSetIntegerScale(renderer, SDL_TRUE);
    // The texture has the surface's pixel layout, so an upload is a plain copy.
    texture = SDL_CreateTexture(renderer, framePixelFormat, SDL_TEXTUREACCESS_STREAMING,
                                gameWidth, gameHeight);
    drawSurface = SDL_CreateRGBSurfaceWithFormat(0, gameWidth, gameHeight, 32, framePixelFormat);
    SDL_ShowWindow(window);
    return texture && drawSurface;
}

SDL_Surface *openDisplay(int scale, bool fullscreen)
{
    if (!window) {
        if (!createDisplay(scale, fullscreen))
            return nullptr;
    } else {
        // Opened again: the same window takes the new size and mode.
        SDL_SetWindowFullscreen(window, 0);
        SDL_SetWindowSize(window, gameWidth * scale, gameHeight * scale);
        if (fullscreen && SDL_SetWindowFullscreen(window, fullscreenFlag(true)) != 0)
            return nullptr;
    }
    presentScale = scale;
    presentFullscreen = fullscreen;
    return drawSurface;
}

void hideCursor()
{
    SDL_ShowCursor(SDL_DISABLE);
}

void presentFrame()
{
    if (!drawSurface || !texture)
        return;
    SDL_UpdateTexture(texture, NULL, drawSurface->pixels, drawSurface->pitch);
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, texture, NULL, NULL);
    // With vsync this waits for the display's next refresh.
    SDL_RenderPresent(renderer);
}

bool toggleFullScreen()
{
    if (!window)
        return false;
    bool full = !presentFullscreen;
    if (SDL_SetWindowFullscreen(window, fullscreenFlag(full)) != 0)
        return false;
    // Back in a window: the size the scale asks for, whatever the
    // window manager did to it meanwhile.
    if (!full)
        SDL_SetWindowSize(window, gameWidth * presentScale, gameHeight * presentScale);
    presentFullscreen = full;
    return true;
}
