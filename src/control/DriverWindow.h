// What the driver's doors to the outside (the session-bus service, the request socket) read and
// do beyond the profile controller: whether the mouse is open, a recording runs and a macro
// plays; showing or hiding the window, leaving the driver, and stopping the macros.
#pragma once

#include <functional>

namespace veldran {

struct DriverWindow {
    std::function<bool()> connected; // the mouse is open
    std::function<bool()> recording; // a macro recording runs
    std::function<void()> show;
    std::function<void()> hide;
    std::function<void()> quit;       // as the tray menu's "Sair do Driver" leaves
    std::function<bool()> playing;    // a macro plays
    std::function<void()> stopMacros; // stops every macro, its held keys released
};

// Why a door refuses a profile switch: the controller refuses only while the mouse is not open.
inline constexpr const char* kNotConnectedText = "the mouse is not connected";

// How a door answers a switch that reached the mouse but whose settings could not be written
// (followed by the reason).
inline constexpr const char* kSettingsNotSavedText = "settings not saved: ";

} // namespace veldran
