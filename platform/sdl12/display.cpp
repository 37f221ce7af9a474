// The display on SDL 1.2: video mode, title, icon and the scaled
// presentation of each frame. At scale 1 the game draws straight into the
// video surface and showing it is a flip; at scale N it draws into an
// off-screen surface whose pixels are copied N x N times onto the 640N x 480N
// video surface before the flip.
#include "platform/display.h"

#include <stdlib.h>

static SDL_Surface *videoSurface;   // what SDL shows
static SDL_Surface *drawSurface;    // what the game draws into
int presentScale = 1;
int presentFullscreen = 1;

bool startSystem(bool sound)
{
    Uint32 systems = SDL_INIT_VIDEO | SDL_INIT_JOYSTICK;
    if (sound)
        systems |= SDL_INIT_AUDIO;
    if (SDL_Init(systems) < 0)
        return false;
    atexit(SDL_Quit);
    return true;
}

// Classic SDL 1.2 shows a software surface the moment it is flipped and has
// no way to wait for the display. The compatibility library on SDL 2 (its
// versions count from 1.2.50) presents through SDL 2 and waits when its
// setting says so, which it reads when the video system starts.
bool requestVsync()
{
    const SDL_version *linked = SDL_Linked_Version();
    if (!linked || linked->patch < 50)
        return false;
    setenv("SDL12COMPAT_SYNC_TO_VBLANK", "1", 1);
    return true;
}

bool desktopSize(int *w, int *h)
{
    const SDL_VideoInfo *info = SDL_GetVideoInfo();
    if (!info || info->current_w <= 0 || info->current_h <= 0)
        return false;
    *w = info->current_w;
    *h = info->current_h;
    return true;
}

// The icon goes to the window manager before the first mode is set, as SDL
// asks. Pure magenta is its transparent colour. A missing icon is no reason
// to stop: the window simply gets the desktop's default.
static void setTitleAndIcon()
{
    SDL_WM_SetCaption("Driftwing", "Driftwing");
    static bool iconDone;
    if (iconDone)
        return;
    iconDone = true;
    SDL_Surface *icon = SDL_LoadBMP("data/icon.bmp");
    if (!icon)
        return;
    SDL_SetColorKey(icon, SDL_SRCCOLORKEY, SDL_MapRGB(icon->format, 255, 0, 255));
    SDL_WM_SetIcon(icon, NULL);
    SDL_FreeSurface(icon);
}

static SDL_Surface *setMode(int scale, bool fullscreen)
{
    return SDL_SetVideoMode(gameWidth * scale, gameHeight * scale, 32,
                            fullscreen ? SDL_FULLSCREEN : 0);
}

// The off-screen picture shares the video surface's pixel layout, so the
// scaled copy moves whole pixels without converting them.
static SDL_Surface *makeOffscreen(SDL_Surface *like)
{
    const SDL_PixelFormat *f = like->format;
    return SDL_CreateRGBSurface(SDL_SWSURFACE, gameWidth, gameHeight, 32,
                                f->Rmask, f->Gmask, f->Bmask, 0);
}

SDL_Surface *openDisplay(int scale, bool fullscreen)
{
    setTitleAndIcon();
    SDL_Surface *video = setMode(scale, fullscreen);
    if (!video)
        return nullptr;
    videoSurface = video;
    presentScale = scale;
    presentFullscreen = fullscreen;
    if (scale == 1) {
        drawSurface = video;
        return drawSurface;
    }
    // A 32-bit mode is asked for; SDL converts behind a shadow surface if
    // the display differs, so the video surface is 32-bit in any case.
    if (video->format->BytesPerPixel != 4)
        return nullptr;
    drawSurface = makeOffscreen(video);
    return drawSurface;
}

void hideCursor()
{
    SDL_ShowCursor(SDL_DISABLE);
}

void presentFrame()
{
    if (!drawSurface)
        return;
    if (drawSurface != videoSurface && videoSurface) {
        if (SDL_MUSTLOCK(videoSurface) && SDL_LockSurface(videoSurface) < 0)
            return;
        scaleCopy(drawSurface, videoSurface, presentScale);
        if (SDL_MUSTLOCK(videoSurface))
            SDL_UnlockSurface(videoSurface);
        SDL_Flip(videoSurface);
        return;
    }
    SDL_Flip(drawSurface);
}

bool toggleFullScreen()
{
    if (!videoSurface)
        return false;
    // Where the platform can switch in place, the surfaces stay as they are.
    if (SDL_WM_ToggleFullScreen(videoSurface)) {
        presentFullscreen = !presentFullscreen;
        return true;
    }
    // Otherwise the mode is set again. That may free and replace the video
    // surface, which only an off-screen picture survives: at scale 1 the
    // sprites draw straight into the video surface, so there is no switch.
    if (drawSurface == videoSurface)
        return false;
    SDL_Surface *video = setMode(presentScale, !presentFullscreen);
    if (!video) {
        videoSurface = setMode(presentScale, presentFullscreen);
        return false;
    }
    videoSurface = video;
    presentFullscreen = !presentFullscreen;
    return true;
}
