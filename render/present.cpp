// Video mode, title, icon and the scaled presentation of each frame.
#include "render/present.h"

#include <string.h>
#include "game/world.h"

SDL_Surface *videoSurface;
int presentScale = 1;
int presentFullscreen = 1;

int fitScale(int w, int h, int maxFactor)
{
    int n = 1;
    while (n < maxFactor && gameWidth * (n + 1) <= w && gameHeight * (n + 1) <= h)
        n++;
    return n;
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

bool openDisplay(int scale, bool fullscreen)
{
    setTitleAndIcon();
    SDL_Surface *video = setMode(scale, fullscreen);
    if (!video)
        return false;
    videoSurface = video;
    presentScale = scale;
    presentFullscreen = fullscreen;
    if (scale == 1) {
        screen = video;
        return true;
    }
    // A 32-bit mode is asked for; SDL converts behind a shadow surface if
    // the display differs, so the video surface is 32-bit in any case.
    if (video->format->BytesPerPixel != 4 || !(screen = makeOffscreen(video)))
        return false;
    return true;
}

void scaleCopy(SDL_Surface *src, SDL_Surface *dst, int n)
{
    int outW = src->w * n, outH = src->h * n;
    if (outW > dst->w || outH > dst->h)
        return;
    int left = (dst->w - outW) / 2, top = (dst->h - outH) / 2;
    for (int y = 0; y < src->h; y++) {
        const Uint32 *in = (const Uint32 *)((const Uint8 *)src->pixels + y * src->pitch);
        Uint8 *firstRow = (Uint8 *)dst->pixels + (top + y * n) * dst->pitch;
        Uint32 *out = (Uint32 *)firstRow + left;
        for (int x = 0; x < src->w; x++) {
            Uint32 p = in[x];
            for (int k = 0; k < n; k++)
                *out++ = p;
        }
        // The other n - 1 rows are the same pixels again.
        for (int k = 1; k < n; k++)
            memcpy(firstRow + k * dst->pitch + left * 4, firstRow + left * 4, (size_t)outW * 4);
    }
}

void presentFrame()
{
    if (!screen)
        return;
    if (screen != videoSurface && videoSurface) {
        if (SDL_MUSTLOCK(videoSurface) && SDL_LockSurface(videoSurface) < 0)
            return;
        scaleCopy(screen, videoSurface, presentScale);
        if (SDL_MUSTLOCK(videoSurface))
            SDL_UnlockSurface(videoSurface);
        SDL_Flip(videoSurface);
        return;
    }
    SDL_Flip(screen);
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
    // surface, which only an off-screen `screen` survives: at scale 1 the
    // sprites draw straight into the video surface, so there is no switch.
    if (screen == videoSurface)
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
