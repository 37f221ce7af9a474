// SDL loads the X client library at run time, so the game does not link it:
// its error-handler call is found in the copy SDL has loaded.
#include "platform/displaylost.h"

#include <dlfcn.h>
#include <stdio.h>
#include <unistd.h>

typedef int (*IoErrorHandler)(void *display);
typedef IoErrorHandler (*SetIoErrorHandler)(IoErrorHandler handler);

static void (*displayLostWish)();

static int onDisplayLost(void *)
{
    if (displayLostWish)
        displayLostWish();
    fprintf(stderr, "driftwing: the connection to the display was lost; the game ends\n");
    fflush(stderr);
    // Never back into the library: its next step is exit(), and SDL's
    // shutdown there waits on the dead connection.
    _exit(1);
}

bool whenDisplayLost(void (*lastWish)())
{
    displayLostWish = lastWish;
    void *x11 = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
    if (!x11)
        return false;
    SetIoErrorHandler set = (SetIoErrorHandler)dlsym(x11, "XSetIOErrorHandler");
    if (set)
        set(onDisplayLost);
    // Only the reference taken here goes; SDL's keeps the library loaded.
    dlclose(x11);
    return set != nullptr;
}
