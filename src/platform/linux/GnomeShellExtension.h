// The GNOME Shell extension that reports the window in front to the driver (focus@veldran.org,
// shipped by the package): whether GNOME Shell has it enabled, and enabling it, through the
// Shell's own org.gnome.Shell.Extensions service on the session bus.
#pragma once

#include <optional>

namespace veldran {

inline constexpr const char* kFocusExtensionUuid = "focus@veldran.org";

enum class FocusExtensionState {
    Running,  // enabled and running
    Off,      // installed and usable, not enabled
    Unusable, // not installed, or the Shell cannot run it (out of date for it, or failed)
};

// What the Shell says of the extension: nothing when the Shell does not answer.
std::optional<FocusExtensionState> focusExtensionState();

// Asks the Shell to enable the extension (GNOME asks the user to confirm nothing more); true when
// it says it did.
bool enableFocusExtension();

} // namespace veldran
