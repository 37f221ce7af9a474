// The display on SDL 2: one window, a renderer and a streaming texture. The
// game draws into a 640 x 480 software surface of its own; showing a frame
// uploads those pixels to the texture and lets the renderer draw it scaled by
// a whole factor, letterboxed in whatever size the window has, never
// smoothed. Full screen keeps the desktop's mode, so switching never changes
// the monitor's resolution, and the surface the game draws into never moves.
#include "platform/display.h"
#include "platform/sdl2/frame.h"
#include "platform/displayenv.h"
#include "platform/x11cover.h"

#include <SDL_syswm.h>

#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static SDL_Window *window;
static Uint32 windowId;
static SDL_Renderer *renderer;
static SDL_Texture *texture;
static SDL_Surface *drawSurface;    // what the game draws into
// Without a renderer the frame is copied into the window's own surface.
static SDL_Surface *windowSurface;  // as last drawn into; changes with the size
static bool vsyncWanted;
// SDL's software renderer draws into the window's surface, which keeps what
// was drawn from one frame to the next: there the bars around the picture
// are cleared when the output's size changes, not every frame. Any other
// renderer's target holds nothing defined after a present.
static bool clearsEachFrame = true;
static int clearedW = -1, clearedH = -1;
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

// SDL 2 has a Wayland driver of its own. A web page always has its canvas,
// and no environment that names a display.
const char *displayMissing()
{
#ifdef __EMSCRIPTEN__
    return nullptr;
#endif
    return displayMissingFor(getenv("SDL_VIDEODRIVER"), getenv("DISPLAY"),
                             getenv("WAYLAND_DISPLAY"), true);
}

bool startSystem()
{
    // The game controller system brings the joystick system with it.
    Uint32 systems = SDL_INIT_VIDEO | SDL_INIT_GAMECONTROLLER;
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

// SDL asks the window manager for full screen and from then on lays the
// picture out for the whole screen. On X without a window manager nobody
// answers, so the game puts the window over the screen itself.
static void coverScreen()
{
    // An SDL built without X (a web page's) has no X window to cover.
#ifdef SDL_VIDEO_DRIVER_X11
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    SDL_Rect screenRect;
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11
        || SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(window), &screenRect) != 0)
        return;
    coverWithoutWindowManager(info.info.x11.display, info.info.x11.window, screenRect.x,
                              screenRect.y, screenRect.w, screenRect.h);
#endif
}

// Where the picture goes in a w x h output, centred. In a window: the largest
// whole factor that fits whatever size the player gave it. In full screen:
// the scale the game chose, which start-up and every switch fitted to the
// desktop, smaller only where the screen turns out smaller still. An output
// too small for 640 x 480 gets the picture shrunk to fit.
static SDL_Rect pictureRect(int w, int h)
{
    int pw = w, ph = h;
    if (w >= gameWidth && h >= gameHeight) {
        int n = fitScale(w, h, 1 << 20);
        if (presentFullscreen && presentScale < n)
            n = presentScale;
        pw = gameWidth * n;
        ph = gameHeight * n;
    } else if (pw * gameHeight > ph * gameWidth) {
        pw = ph * gameWidth / gameHeight;
    } else {
        ph = pw * gameHeight / gameWidth;
    }
    SDL_Rect r = { (w - pw) / 2, (h - ph) / 2, pw, ph };
    return r;
}

// Whether the renderer draws with OpenGL that a CPU rasterises (Mesa's
// llvmpipe or softpipe, say, on a machine without a GPU or under a virtual X
// server). There the texture's upload and the scaled draw cost more than
// copying the picture into the window's own surface, which SDL puts on the
// screen directly.
static bool rasterisedByCpu(SDL_Renderer *r)
{
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(r, &info) != 0 || strncmp(info.name, "opengl", 6) != 0)
        return false;
    typedef const unsigned char *(*GetString)(unsigned int);
    GetString getString = (GetString)SDL_GL_GetProcAddress("glGetString");
    const unsigned int glRenderer = 0x1F01;
    const char *name = getString ? (const char *)getString(glRenderer) : nullptr;
    return name && (strstr(name, "llvmpipe") || strstr(name, "softpipe") || strstr(name, "swrast")
                    || strstr(name, "Software Rasterizer"));
}

// The renderer presents the frame, unless it is one a CPU rasterises and
// nothing asks for it: vsync needs it, and a renderer the player names in
// SDL_RENDER_DRIVER is kept. Only X puts a window's own surface on the
// screen by itself (Wayland, for one, shows a surface only through a
// renderer).
static bool rendererNeeded()
{
    const char *chosen = getenv("SDL_RENDER_DRIVER");
    const char *driver = SDL_GetCurrentVideoDriver();
    return vsyncWanted || (chosen && chosen[0]) || !driver || strcmp(driver, "x11") != 0;
}

// Whether the machine has a GPU device at all: the kernel's DRM nodes, or
// the nodes of NVIDIA's own driver. Without one, OpenGL can only be a CPU
// rasteriser, and loading it just to find that out takes a quarter of a
// second before the first frame.
static bool gpuDevicePresent()
{
    return access("/dev/dri", F_OK) == 0 || access("/dev/nvidiactl", F_OK) == 0;
}

// Once the renderer is made, which may have made the window anew.
static void showWindow(bool fullscreen)
{
    // Smaller, the picture would have to shrink and its text blur.
    SDL_SetWindowMinimumSize(window, gameWidth, gameHeight);
    SDL_ShowWindow(window);
    if (fullscreen)
        coverScreen();
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
    bool needed = rendererNeeded();
    if (needed || gpuDevicePresent()) {
        renderer = SDL_CreateRenderer(window, -1, vsyncWanted ? SDL_RENDERER_PRESENTVSYNC : 0);
        if (!renderer)
            return false;
    }
    setIcon();
    drawSurface = SDL_CreateRGBSurfaceWithFormat(0, gameWidth, gameHeight, 32, framePixelFormat);
    if (!needed && (!renderer || rasterisedByCpu(renderer))) {
        if (renderer)
            SDL_DestroyRenderer(renderer);
        renderer = nullptr;
        // SDL would otherwise make the window's surface a texture of yet
        // another renderer; a setting of the player's own wins.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        if (SDL_GetWindowSurface(window)) {
            showWindow(fullscreen);
            return drawSurface != nullptr;
        }
        // No surface of its own after all: the renderer, then.
        renderer = SDL_CreateRenderer(window, -1, 0);
        if (!renderer)
            return false;
    }
    SDL_RendererInfo info;
    clearsEachFrame = SDL_GetRendererInfo(renderer, &info) != 0 || strcmp(info.name, "software") != 0;
    // The texture has the surface's pixel layout, so an upload is a plain copy.
    texture = SDL_CreateTexture(renderer, framePixelFormat, SDL_TEXTUREACCESS_STREAMING,
                                gameWidth, gameHeight);
    showWindow(fullscreen);
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
        if (fullscreen)
            coverScreen();
    }
    presentScale = scale;
    presentFullscreen = fullscreen;
    return drawSurface;
}

void hideCursor()
{
    SDL_ShowCursor(SDL_DISABLE);
}

// The frame copied into the window's surface where pictureRect puts it,
// black around it.
static void presentInWindowSurface()
{
    SDL_Surface *ws = SDL_GetWindowSurface(window);
    if (!ws)
        return;
    SDL_Rect to = pictureRect(ws->w, ws->h);
    bool fits = ws->w >= gameWidth && ws->h >= gameHeight;
    bool sameLayout = ws->format->BytesPerPixel == 4 && ws->format->Rmask == drawSurface->format->Rmask
                      && ws->format->Gmask == drawSurface->format->Gmask
                      && ws->format->Bmask == drawSurface->format->Bmask;
    // A new surface (the window was made or resized) starts black.
    if (ws != windowSurface || !fits || !sameLayout) {
        SDL_FillRect(ws, NULL, 0);
        windowSurface = ws;
    }
    if (fits && sameLayout) {
        if (SDL_MUSTLOCK(ws) && SDL_LockSurface(ws) < 0)
            return;
        scaleCopy(drawSurface, ws, to.w / gameWidth);
        if (SDL_MUSTLOCK(ws))
            SDL_UnlockSurface(ws);
    } else {
        SDL_BlitScaled(drawSurface, NULL, ws, &to);
    }
    SDL_UpdateWindowSurface(window);
}

void presentFrame()
{
    if (!drawSurface || !window)
        return;
    if (!renderer) {
        presentInWindowSurface();
        return;
    }
    if (!texture)
        return;
    SDL_UpdateTexture(texture, NULL, drawSurface->pixels, drawSurface->pitch);
    int w = 0, h = 0;
    SDL_GetRendererOutputSize(renderer, &w, &h);
    SDL_Rect to = pictureRect(w, h);
    if (clearsEachFrame || w != clearedW || h != clearedH) {
        SDL_RenderClear(renderer);
        clearedW = w;
        clearedH = h;
    }
    SDL_RenderCopy(renderer, texture, NULL, &to);
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
    if (full)
        coverScreen();
    // Back in a window: the size the scale asks for, whatever the
    // window manager did to it meanwhile.
    if (!full)
        SDL_SetWindowSize(window, gameWidth * presentScale, gameHeight * presentScale);
    presentFullscreen = full;
    return true;
}
