// GNU-style options: "--name", "--name VALUE" and "--name=VALUE".
#include "game/options.h"
#include "core/version.h"
#include "platform/sdlversion.h"

#include <errno.h>
#include <stdio.h>
#include <string.h>

Options options;

static const char usage[] =
    "Usage: driftwing [OPTION]...\n"
    "A side-scrolling shoot-'em-up.\n"
    "\n"
    "  --fullscreen       full screen (the default)\n"
    "  --window           in a window\n"
    "  --scale N          draw every pixel N x N times, N from 1 to 4, or 'auto'\n"
    "                     for the largest that fits the desktop\n"
    "  --nosound          no music and no sound effects\n"
    "  --no-autopause     keep playing when the window loses focus\n"
    "  --vsync            show each frame at the display's refresh, where the\n"
    "                     SDL library can; otherwise as fast as it is drawn\n"
    "  --data DIR         read the game data from DIR and keep the best score there\n"
    "  --record FILE      play and record the game as a demo in FILE\n"
    "  --play FILE        show the demo in FILE at its recorded pace\n"
    "  --timedemo FILE    play the demo in FILE as fast as possible and time it\n"
    "  -h, --help         show this help and exit\n"
    "  --version          show the version and the SDL it runs on, and exit\n"
    "\n"
    "Keys: arrows fly, SPACE fires, P pauses, ENTER starts a new game after\n"
    "game over, F11 or Alt+Enter toggles full screen, ESC quits.\n"
    "A gamepad flies with its left stick or D-pad, fires with A (button 0),\n"
    "pauses or starts a new game with Start, and quits with Back held for a\n"
    "second while paused or after game over. On SDL 1.2, DRIFTWING_PAD_BUTTONS\n"
    "sets the pad's buttons by number, as in fire=0,start=9,back=8.\n";

static int badOption(const char *what, const char *arg)
{
    fprintf(stderr, "driftwing: %s '%s' (try 'driftwing --help')\n", what, arg);
    return 2;
}

// "--name" or "--name=value"; sets *inlineValue to the part after '='.
static bool isOption(const char *arg, const char *name, const char **inlineValue)
{
    size_t n = strlen(name);
    if (strncmp(arg, name, n) != 0)
        return false;
    if (arg[n] == '\0') {
        *inlineValue = nullptr;
        return true;
    }
    if (arg[n] == '=') {
        *inlineValue = arg + n + 1;
        return true;
    }
    return false;
}

static int parseScale(const char *value)
{
    if (strcmp(value, "auto") == 0) {
        options.scaleAuto = 1;
        options.scale = 1;
        return -1;
    }
    if (strlen(value) == 1 && value[0] >= '1' && value[0] <= '0' + maxScale) {
        options.scaleAuto = 0;
        options.scale = value[0] - '0';
        return -1;
    }
    return badOption("invalid scale", value);
}

int parseOptions(int argc, char **argv)
{
    static const char *const valued[] = { "--scale", "--data", "--record", "--play", "--timedemo" };
    const char *demo = nullptr;
    for (int i = 1; i < argc; i++) {
        const char *arg = argv[i];
        const char *value = nullptr;
        if (strcmp(arg, "-h") == 0 || strcmp(arg, "--help") == 0) {
            fputs(usage, stdout);
            return outputWritten() ? 0 : 1;
        }
        if (strcmp(arg, "--version") == 0) {
            char sdl[200];
            describeSdl(sdl, sizeof sdl);
            printf("driftwing " DRIFTWING_VERSION "\n%s\n", sdl);
            return outputWritten() ? 0 : 1;
        }
        if (strcmp(arg, "--window") == 0) {
            options.fullscreen = 0;
            continue;
        }
        if (strcmp(arg, "--fullscreen") == 0) {
            options.fullscreen = 1;
            continue;
        }
        if (strcmp(arg, "--nosound") == 0) {
            options.sound = 0;
            continue;
        }
        if (strcmp(arg, "--no-autopause") == 0) {
            options.autopause = 0;
            continue;
        }
        if (strcmp(arg, "--vsync") == 0) {
            options.vsync = 1;
            continue;
        }

        const char *name = nullptr;
        for (const char *v : valued)
            if (isOption(arg, v, &value))
                name = v;
        if (!name)
            return badOption("unknown option", arg);
        if (!value) {
            if (i + 1 >= argc)
                return badOption("missing value for", arg);
            value = argv[++i];
        }
        if (value[0] == '\0')
            return badOption("empty value for", name);

        if (strcmp(name, "--scale") == 0) {
            int status = parseScale(value);
            if (status >= 0)
                return status;
            continue;
        }
        if (strcmp(name, "--data") == 0) {
            options.dataDir = value;
            continue;
        }
        // One demo mode at a time.
        if (demo)
            return badOption("only one of --record, --play and --timedemo, not also", name);
        demo = name;
        if (strcmp(name, "--record") == 0)
            options.recordFile = value;
        else if (strcmp(name, "--play") == 0)
            options.playFile = value;
        else
            options.timedemoFile = value;
    }
    return -1;
}

bool outputWritten()
{
    int err = fflush(stdout) != 0 ? errno : 0;
    if (!err && !ferror(stdout))
        return true;
    fprintf(stderr, "driftwing: cannot write to standard output (%s)\n", strerror(err ? err : EIO));
    return false;
}
