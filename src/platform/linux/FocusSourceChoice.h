// Picks the source that tells the program rules which window is in front, by what the session
// offers. In a Wayland session: the compositor's wlroots toplevel list when it offers one, else
// the driver's KWin script when KWin runs, else the GNOME Shell extension on GNOME (unless the
// Shell says it cannot run it); only one
// source follows the focus, so XWayland windows are seen once, through it. In an X11 session,
// and in a Wayland session without any of these (where only XWayland windows can be seen):
// _NET_ACTIVE_WINDOW. Without any, "none".
#pragma once

#include "platform/ActiveWindow.h"

#include <memory>
#include <string>

namespace veldran {

class ReportedActiveWindow;

struct FocusSource {
    std::unique_ptr<ActiveWindow> window; // never null; its sourceName() says which it is
    // The source that the D-Bus call-back ActiveWindowChanged feeds (kwin, gnome-shell), or null.
    ReportedActiveWindow* reported = nullptr;
};

// kwinScript is the file of the KWin script. The listener is told, on the event loop, about
// every change of the window in front.
FocusSource chooseFocusSource(ActiveWindow::Listener listener, const std::string& kwinScript);

} // namespace veldran
