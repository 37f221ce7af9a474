// The cost of SDL alone: a 640 x 480 x 32 mode, then a fill and a flip per
// pass, timed. Run it on the display and the library under study (SDL's own
// environment settings apply) to see what the library and the display cost
// before any game code runs.
//   bareloop [--window] [--scale N] [--desktop] [PASSES]
// --desktop asks for a mode of the desktop's own size (as SDL reports it
// before the first mode is set) instead of 640N x 480N.
// prints the time to the first frame shown (from SDL_Init), passes per
// second and the peak resident memory.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/time.h>
#include <SDL.h>

static double nowMs()
{
    timeval t;
    gettimeofday(&t, nullptr);
    return t.tv_sec * 1000.0 + t.tv_usec / 1000.0;
}

static long peakKb()
{
    FILE *f = fopen("/proc/self/status", "r");
    char line[256];
    long kb = -1;
    while (f && fgets(line, sizeof line, f))
        if (strncmp(line, "VmHWM:", 6) == 0)
            kb = atol(line + 6);
    if (f)
        fclose(f);
    return kb;
}

int main(int argc, char **argv)
{
    Uint32 flags = SDL_FULLSCREEN;
    int scale = 1;
    bool desktop = false;
    long passes = 2000;
    for (int i = 1; i < argc; i++) {
        if (strcmp(argv[i], "--window") == 0)
            flags = 0;
        else if (strcmp(argv[i], "--desktop") == 0)
            desktop = true;
        else if (strcmp(argv[i], "--scale") == 0 && i + 1 < argc)
            scale = atoi(argv[++i]);
        else
            passes = atol(argv[i]);
    }
    if (scale < 1 || scale > 4 || passes < 1) {
        fprintf(stderr, "usage: bareloop [--window] [--scale N] [--desktop] [PASSES]\n");
        return 2;
    }
    double start = nowMs();
    if (SDL_Init(SDL_INIT_VIDEO) < 0) {
        fprintf(stderr, "bareloop: %s\n", SDL_GetError());
        return 1;
    }
    int w = 640 * scale, h = 480 * scale;
    const SDL_VideoInfo *info = SDL_GetVideoInfo();
    if (desktop && info && info->current_w > 0 && info->current_h > 0) {
        w = info->current_w;
        h = info->current_h;
    }
    SDL_Surface *screen = SDL_SetVideoMode(w, h, 32, flags);
    if (!screen) {
        fprintf(stderr, "bareloop: %s\n", SDL_GetError());
        return 1;
    }
    SDL_FillRect(screen, NULL, SDL_MapRGB(screen->format, 40, 40, 80));
    SDL_Flip(screen);
    double first = nowMs() - start;
    double loopStart = nowMs();
    SDL_Event event;
    for (long i = 0; i < passes; i++) {
        while (SDL_PollEvent(&event)) {
        }
        SDL_FillRect(screen, NULL, SDL_MapRGB(screen->format, i & 255, 40, 80));
        SDL_Flip(screen);
    }
    double seconds = (nowMs() - loopStart) / 1000.0;
    const SDL_version *v = SDL_Linked_Version();
    printf("bareloop on SDL %d.%d.%d, %dx%d: first frame %.0f ms, %ld passes in %.3f s, %.0f passes/s, "
           "peak RSS %ld KB\n", v->major, v->minor, v->patch, screen->w, screen->h, first, passes, seconds,
           passes / seconds, peakKb());
    SDL_Quit();
    return 0;
}
