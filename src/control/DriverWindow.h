// What the driver's doors to the outside (the session-bus service, the request socket) read and
// do beyond the profile controller: whether the mouse is open, a recording runs and a macro
// plays; showing or hiding the window, leaving the driver, and stopping the macros.
#pragma once

#include <functional>
#include <string>

namespace veldran {

struct DriverWindow {
    std::function<bool()> connected; // the mouse is open
    std::function<bool()> recording; // a macro recording runs
    std::function<void()> show;
    std::function<void()> hide;
    std::function<void()> quit;       // as the tray menu's "Sair do Driver" leaves
    std::function<bool()> playing;    // a macro plays
    std::function<void()> stopMacros; // stops every macro, its held keys released
    // The name the window shows for a function code (a macro's own name for 41 to 52).
    std::function<std::string(int code)> functionName;
    // Which source follows the window in front (x11, wlroots, kwin, gnome-shell, none).
    std::function<std::string()> focusSource;
};

} // namespace veldran
