// What the driver's doors to the outside (the session-bus service, the request socket) read and
// do beyond the profile controller: whether the mouse is open and a recording runs, showing or
// hiding the window, and leaving the driver.
#pragma once

#include <functional>
#include <string>

namespace veldran {

struct DriverWindow {
    std::function<bool()> connected; // the mouse is open
    std::function<bool()> recording; // a macro recording runs
    std::function<void()> show;
    std::function<void()> hide;
    std::function<void()> quit; // as the tray menu's "Sair do Driver" leaves
    // Which source follows the window in front (x11, wlroots, kwin, gnome-shell, none).
    std::function<std::string()> focusSource;
};

// Why a door refuses a profile switch: the controller refuses only while the mouse is not open.
inline constexpr const char* kNotConnectedText = "the mouse is not connected";

} // namespace veldran
