// A window of the test's own X client, mapped and given the keyboard focus, so that keys typed
// with XTest go to it: the "other program" of the tests and benchmarks that type on the desktop.
#pragma once

#include <X11/Xlib.h>

namespace veldran::testing {

// Creates the window at (x, y), waits until the server has mapped it, focuses it and returns it.
// It receives key presses and releases, and the events of extraEvents; the caller destroys it.
inline Window mapFocusedWindow(Display* display, int x, int y, unsigned width = 200,
                               unsigned height = 100, long extraEvents = 0) {
    const Window window =
        XCreateSimpleWindow(display, DefaultRootWindow(display), x, y, width, height, 0, 0, 0);
    XSelectInput(display, window,
                 KeyPressMask | KeyReleaseMask | StructureNotifyMask | extraEvents);
    XMapRaised(display, window);
    XEvent event;
    do {
        XWindowEvent(display, window, StructureNotifyMask, &event);
    } while (event.type != MapNotify);
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
    XSync(display, False);
    return window;
}

} // namespace veldran::testing
