// The display on SDL 1.2: video mode, title, icon and the scaled
// presentation of each frame. At scale 1 the game draws straight into the
// video surface and showing it is a flip; at scale N it draws into an
// off-screen surface whose pixels are copied N x N times onto the 640N x 480N
// video surface before the flip.
#include "platform/display.h"
#include "platform/displayenv.h"
#include "platform/x11cover.h"

#include <SDL_syswm.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static SDL_Surface *videoSurface;   // what SDL shows
static SDL_Surface *drawSurface;    // what the game draws into
int presentScale = 1;
int presentFullscreen = 1;

// The desktop as SDL reports it before the first mode is set, kept from the
// start: once a mode is set SDL reports that mode instead.
static int desktopW, desktopH;
// The scale the game asked openDisplay for; each switch fits it anew.
static int askedScale = 1;
// --vsync on the compatibility library, which waits only in its renderer.
static bool vsyncWanted;

// sdl12-compat, the SDL 1.2 interface on SDL 2, numbers its versions from
// 1.2.50 on. SDL 2 has a Wayland driver; classic SDL 1.2 has none.
static bool onSdl2()
{
    const SDL_version *v = SDL_Linked_Version();
    return SDL_VERSIONNUM(v->major, v->minor, v->patch) >= SDL_VERSIONNUM(1, 2, 50);
}

const char *displayMissing()
{
    return displayMissingFor(getenv("SDL_VIDEODRIVER"), getenv("DISPLAY"),
                             getenv("WAYLAND_DISPLAY"), onSdl2());
}

bool startSystem()
{
    // On the SDL 2 based library every flip goes through an SDL 2 renderer,
    // by default OpenGL: without a GPU that loads a software rasteriser of
    // about 90 MB and takes most of a second to the first frame. Drawing
    // straight into the window costs neither. Any scaling it still does is
    // by whole pixels, never smoothed. The classic library ignores all
    // three, and a setting of the player's own wins. Waiting for the
    // display takes the library's renderer, so --vsync keeps it.
    if (!vsyncWanted) {
        setenv("SDL_RENDER_DRIVER", "software", 0);
        setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 0);
    }
    setenv("SDL12COMPAT_SCALE_METHOD", "nearest", 0);
    // Classic SDL 1.2 falls back to a text-mode driver when the X display
    // cannot be opened, and that driver writes its escape sequences to the
    // terminal before the game can refuse it. With DISPLAY set and no driver
    // of the player's own, X is the only display meant, so it is asked for
    // by name: a dead display then simply fails to start.
    const char *named = getenv("SDL_VIDEODRIVER");
    const char *display = getenv("DISPLAY");
    bool xByName = !onSdl2() && !(named && named[0]) && display && display[0];
    if (xByName)
        setenv("SDL_VIDEODRIVER", "x11", 1);
    int started = SDL_Init(SDL_INIT_VIDEO | SDL_INIT_JOYSTICK);
    if (xByName)
        unsetenv("SDL_VIDEODRIVER");
    if (started < 0) {
        if (xByName)
            sayNoDisplay();
        return false;
    }
    char driver[32];
    if (unseenFallback(SDL_VideoDriverName(driver, sizeof driver))) {
        SDL_Quit();
        sayNoDisplay();
        return false;
    }
    atexit(SDL_Quit);
    const SDL_VideoInfo *info = SDL_GetVideoInfo();
    if (info && info->current_w > 0 && info->current_h > 0) {
        desktopW = info->current_w;
        desktopH = info->current_h;
    }
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
    vsyncWanted = true;
    return true;
}

bool desktopSize(int *w, int *h)
{
    if (desktopW <= 0 || desktopH <= 0)
        return false;
    *w = desktopW;
    *h = desktopH;
    return true;
}

static bool desktopFullScreen();

// A window fits the desktop. Full screen on classic SDL 1.2 fits any mode the
// screen can be switched to; the SDL 2 based library lists modes too, but
// never switches to one: it stretches them over the desktop, so there the
// desktop is the room as well.
int fittingScale(int wanted, bool fullscreen, int *roomW, int *roomH)
{
    *roomW = *roomH = 0;
    if (!fullscreen || desktopFullScreen()) {
        if (!desktopSize(roomW, roomH))
            return wanted;
        return fitScale(*roomW, *roomH, wanted);
    }
    SDL_Rect **modes = SDL_ListModes(NULL, SDL_FULLSCREEN);
    if (!modes || modes == (SDL_Rect **)-1)
        return wanted;
    SDL_Rect room = { 0, 0, 0, 0 };
    int scale = fitScaleInModes(modes, wanted, &room);
    *roomW = room.w;
    *roomH = room.h;
    return scale;
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

// The SDL 2 based library has no real mode switch: it shows a full-screen
// mode that is not the desktop's own size stretched over the desktop,
// smoothed, and its switch in place keeps the window's placement for the
// full-screen picture, which comes out cut and shifted. There the game asks
// for full screen at the desktop's size and centres its picture in it at the
// whole scale it chose, and switches by setting the mode anew. The picture is
// then always an off-screen one, so it survives every new mode.
static bool desktopFullScreen()
{
    return onSdl2() && desktopW > 0 && desktopH > 0;
}

// Without a window manager nothing moves the SDL 2 based library's
// full-screen window to the screen's corner: it stays where the window was,
// the picture centred in it a second time and cut off. The game puts it there.
static void coverScreen()
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWMInfo(&info) != 1 || info.subsystem != SDL_SYSWM_X11)
        return;
    coverWithoutWindowManager(info.info.x11.display, info.info.x11.window, 0, 0, desktopW, desktopH);
}

static SDL_Surface *setMode(int scale, bool fullscreen)
{
    int w = gameWidth * scale, h = gameHeight * scale;
    if (fullscreen && desktopFullScreen() && desktopW >= w && desktopH >= h) {
        w = desktopW;
        h = desktopH;
    }
    SDL_Surface *video = SDL_SetVideoMode(w, h, 32, fullscreen ? SDL_FULLSCREEN : 0);
    if (!video)
        return nullptr;
    // The SDL 2 based library may hand back a surface that still holds an
    // earlier mode's frames; only the picture's own part is drawn each pass,
    // so the bars around it are cleared here, once.
    SDL_FillRect(video, NULL, 0);
    if (fullscreen && desktopFullScreen())
        coverScreen();
    return video;
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
    // Opened again: the off-screen picture of the last opening goes, or it
    // would be lost; the new mode gets one of its own below.
    if (drawSurface && drawSurface != videoSurface)
        SDL_FreeSurface(drawSurface);
    drawSurface = nullptr;
    setTitleAndIcon();
    SDL_Surface *video = setMode(scale, fullscreen);
    if (!video)
        return nullptr;
    videoSurface = video;
    presentScale = scale;
    askedScale = scale;
    presentFullscreen = fullscreen;
    if (scale == 1 && !desktopFullScreen()) {
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

// The scale for the other mode: the asked one where it fits there, else the
// largest that does, said the first time.
static int switchScale(bool fullscreen)
{
    int w, h;
    int scale = fittingScale(askedScale, fullscreen, &w, &h);
    static bool said;
    if (scale < askedScale && !said) {
        said = true;
        fprintf(stderr, "driftwing: %s at scale %d (%dx%d) does not fit the %dx%d %s;"
                " using scale %d\n", fullscreen ? "full screen" : "a window", askedScale,
                gameWidth * askedScale, gameHeight * askedScale, w, h,
                fullscreen ? "screen" : "desktop", scale);
    }
    return scale;
}

bool toggleFullScreen()
{
    if (!videoSurface)
        return false;
    int scale = switchScale(!presentFullscreen);
    // Where the platform can switch in place, the surfaces stay as they are.
    if (scale == presentScale && !desktopFullScreen() && SDL_WM_ToggleFullScreen(videoSurface)) {
        presentFullscreen = !presentFullscreen;
        return true;
    }
    // Otherwise the mode is set again. That may free and replace the video
    // surface, which only an off-screen picture survives: at scale 1 the
    // sprites draw straight into the video surface, so there is no switch.
    if (drawSurface == videoSurface)
        return false;
    SDL_Surface *video = setMode(scale, !presentFullscreen);
    if (!video) {
        videoSurface = setMode(presentScale, presentFullscreen);
        return false;
    }
    videoSurface = video;
    presentScale = scale;
    presentFullscreen = !presentFullscreen;
    return true;
}
