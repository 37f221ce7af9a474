// Whether a graphical display can be expected, from the environment alone:
// the same rule for every display implementation.
#include "platform/display.h"
#include "platform/displayenv.h"

#include <stdlib.h>
#include <string.h>

static bool isSet(const char *value)
{
    return value && value[0];
}

const char *displayMissingFor(const char *videoDriver, const char *display,
                              const char *waylandDisplay, bool libraryHasWayland)
{
    if (isSet(videoDriver) || isSet(display))
        return nullptr;
    if (isSet(waylandDisplay) && libraryHasWayland)
        return nullptr;
    return "no graphical display: DISPLAY is not set";
}

bool unseenFallback(const char *driverName)
{
    if (isSet(getenv("SDL_VIDEODRIVER")) || !driverName)
        return false;
    return strcmp(driverName, "caca") == 0 || strcmp(driverName, "aalib") == 0
           || strcmp(driverName, "offscreen") == 0;
}

void sayNoDisplay()
{
    const char *display = getenv("DISPLAY");
    const char *wayland = getenv("WAYLAND_DISPLAY");
    if (isSet(display))
        SDL_SetError("no graphical display: cannot open DISPLAY %s", display);
    else if (isSet(wayland))
        SDL_SetError("no graphical display: cannot open WAYLAND_DISPLAY %s", wayland);
    else
        SDL_SetError("no graphical display: DISPLAY is not set");
}
