// The Qt platform for the session: xcb in a Wayland session with XWayland, unless the user chose
// one; nothing on X11 or without an X server.
#include "app/SessionPlatform.h"

#include <gtest/gtest.h>
#include <map>

namespace veldran {
namespace {

std::optional<std::string> platformFor(const std::map<std::string, std::string>& environment) {
    return sessionQtPlatform([&environment](const char* name) -> std::optional<std::string> {
        const auto found = environment.find(name);
        return found != environment.end() ? std::optional(found->second) : std::nullopt;
    });
}

TEST(SessionPlatform, WaylandWithXWaylandRunsOnXcbUnlessAPlatformWasChosen) {
    EXPECT_EQ(platformFor({{"XDG_SESSION_TYPE", "wayland"}, {"DISPLAY", ":0"}}), "xcb");
    EXPECT_EQ(platformFor({{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":1"}}), "xcb");
    // The user's choice stands.
    EXPECT_EQ(
        platformFor(
            {{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}, {"QT_QPA_PLATFORM", "wayland"}}),
        std::nullopt);
    // An empty QT_QPA_PLATFORM chooses nothing.
    EXPECT_EQ(platformFor({{"WAYLAND_DISPLAY", "w"}, {"DISPLAY", ":0"}, {"QT_QPA_PLATFORM", ""}}),
              "xcb");
}

TEST(SessionPlatform, X11SessionsAndWaylandWithoutXWaylandKeepQtsChoice) {
    EXPECT_EQ(platformFor({{"XDG_SESSION_TYPE", "x11"}, {"DISPLAY", ":0"}}), std::nullopt);
    EXPECT_EQ(platformFor({{"DISPLAY", ":0"}}), std::nullopt);
    EXPECT_EQ(platformFor({{"XDG_SESSION_TYPE", "wayland"}, {"WAYLAND_DISPLAY", "wayland-0"}}),
              std::nullopt);
    EXPECT_EQ(platformFor({}), std::nullopt);
}

} // namespace
} // namespace veldran
