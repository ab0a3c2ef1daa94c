// The window in front, as the program rules see it: what it shows of its program, told on every
// change of the active window, and the user's pick of a window by clicking it. Adapters, one of
// which the driver picks by what the session offers (platform/linux/FocusSourceChoice): the X11
// watcher of _NET_ACTIVE_WINDOW, the wlroots foreign-toplevel list, and the reports of a KWin
// script or a GNOME Shell extension that call the driver back over D-Bus.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace veldran {

// What the active window shows of its program. Empty fields are unknown.
struct WindowProgram {
    std::string instance;   // first part of WM_CLASS
    std::string className;  // second part of WM_CLASS
    std::string executable; // file name of /proc/PID/exe, for a process of the driver's user
    std::string appId{};    // the Wayland app id (xdg-toplevel), or the desktop file's name
    unsigned pid = 0;       // the window's process, 0 when unknown
};

class ActiveWindow {
public:
    using Listener = std::function<void(const WindowProgram& program)>;

    virtual ~ActiveWindow() = default;

    // Which source follows the window in front: "x11", "wlroots", "kwin", "gnome-shell" or
    // "none".
    virtual const char* sourceName() const = 0;

    // Whether the window in front is followed at all (false without a source for it).
    virtual bool watching() const = 0;
    // What the window in front shows of its program now (empty fields when there is none).
    virtual WindowProgram activeProgram() = 0;
    // Lets the user click a window: picked is told the program of the window clicked (empty
    // fields over the bare desktop). False when no pick can be made or one runs already.
    virtual bool pickWindow(Listener picked) = 0;
    // Ends a pick that runs without telling anyone: the pointer is the user's again.
    virtual void cancelPick() = 0;
    // The program names (WM_CLASS instances) of the windows open now, sorted, each once.
    virtual std::vector<std::string> programsWithWindows() = 0;
};

} // namespace veldran
