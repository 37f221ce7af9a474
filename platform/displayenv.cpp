// Whether a graphical display can be expected, from the environment alone:
// the same rule for every display implementation.
#include "platform/display.h"

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
