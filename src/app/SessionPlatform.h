// Which Qt platform the driver runs on. The shaped window, the menus placed under the fields and
// the search for windows by title need X11; in a Wayland session the driver therefore runs on
// the xcb platform (XWayland) unless the user chose a platform or no X server is there.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace veldran {

// The value of an environment variable, or nothing when it is unset.
using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;

// "xcb" when the session is a Wayland one (XDG_SESSION_TYPE "wayland", or WAYLAND_DISPLAY set),
// XWayland is there (DISPLAY set) and QT_QPA_PLATFORM chose no platform; otherwise nothing (Qt's
// own choice stands).
std::optional<std::string> sessionQtPlatform(const EnvironmentLookup& environment);

// The process's own environment.
std::optional<std::string> processEnvironment(const char* name);

} // namespace veldran
