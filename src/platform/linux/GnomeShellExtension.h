// The GNOME Shell extension that reports the window in front to the driver (shipped by the
// package in two kinds, one for the Shell that runs): whether GNOME Shell has it enabled, and
// enabling it, through the Shell's own org.gnome.Shell.Extensions service on the session bus.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace veldran {

// GNOME 45 and later load extensions as ES modules; 43 and 44 as scripts of the older kind.
inline constexpr const char* kFocusExtensionUuid = "focus@veldran.org";
inline constexpr const char* kLegacyFocusExtensionUuid = "focus-legacy@veldran.org";

// The extension that a Shell of this version (its ShellVersion: "44.9", "47.rc") can run: the
// older kind before 45; the newer one for 45 and later, and for a version it cannot read.
const char* focusExtensionUuidFor(std::string_view shellVersion);

// The extension that the Shell on the session bus can run (the newer one if it does not say).
std::string focusExtensionUuid();

enum class FocusExtensionState {
    Running,  // enabled and running
    Off,      // installed and usable, not enabled
    Unusable, // not installed, or the Shell cannot run it (out of date for it, or failed)
};

// What the Shell says of the extension of its kind (focusExtensionUuid()): nothing when the Shell
// does not answer.
std::optional<FocusExtensionState> focusExtensionState();

// Asks the Shell to enable the extension of its kind (GNOME asks the user to confirm nothing
// more); true when it says it did.
bool enableFocusExtension();

} // namespace veldran
