// Placing a full-screen window where no window manager does. Xlib is reached
// through the copy the SDL library loaded for itself, so the game neither
// links it nor loads it where SDL did not (a Wayland session).
#include "platform/x11cover.h"

#include <dlfcn.h>
#include <X11/Xlib.h>
#include <X11/Xatom.h>

namespace {

struct Xlib {
    decltype(&XInternAtom) internAtom;
    decltype(&XGetWindowProperty) getWindowProperty;
    decltype(&XFree) free;
    decltype(&XDefaultRootWindow) defaultRootWindow;
    decltype(&XMoveResizeWindow) moveResizeWindow;
    decltype(&XRaiseWindow) raiseWindow;
    decltype(&XSync) sync;
};

bool loadXlib(Xlib *x)
{
    void *lib = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
    if (!lib)
        return false;
    x->internAtom = (decltype(x->internAtom))dlsym(lib, "XInternAtom");
    x->getWindowProperty = (decltype(x->getWindowProperty))dlsym(lib, "XGetWindowProperty");
    x->free = (decltype(x->free))dlsym(lib, "XFree");
    x->defaultRootWindow = (decltype(x->defaultRootWindow))dlsym(lib, "XDefaultRootWindow");
    x->moveResizeWindow = (decltype(x->moveResizeWindow))dlsym(lib, "XMoveResizeWindow");
    x->raiseWindow = (decltype(x->raiseWindow))dlsym(lib, "XRaiseWindow");
    x->sync = (decltype(x->sync))dlsym(lib, "XSync");
    // The library stays loaded: SDL holds it, and so does this handle.
    return x->internAtom && x->getWindowProperty && x->free && x->defaultRootWindow
           && x->moveResizeWindow && x->raiseWindow && x->sync;
}

// A window manager that follows the desktop conventions names its check
// window on the root window; SDL 2 looks for the same. Only the root's
// property is read: asking the window it names could raise an X error,
// whose default handler ends the process.
bool windowManagerRuns(const Xlib &x, Display *d)
{
    Atom check = x.internAtom(d, "_NET_SUPPORTING_WM_CHECK", True);
    if (check == None)
        return false;
    Atom type = None;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char *data = nullptr;
    int got = x.getWindowProperty(d, x.defaultRootWindow(d), check, 0, 1, False, XA_WINDOW, &type,
                                  &format, &items, &after, &data);
    bool found = got == Success && type == XA_WINDOW && items == 1;
    if (data)
        x.free(data);
    return found;
}

} // namespace

bool coverWithoutWindowManager(void *display, unsigned long window, int x, int y, int w, int h)
{
    Xlib xlib;
    Display *d = (Display *)display;
    if (!d || !window || w <= 0 || h <= 0 || !loadXlib(&xlib) || windowManagerRuns(xlib, d))
        return false;
    xlib.moveResizeWindow(d, (Window)window, x, y, (unsigned)w, (unsigned)h);
    xlib.raiseWindow(d, (Window)window);
    xlib.sync(d, False);
    return true;
}
