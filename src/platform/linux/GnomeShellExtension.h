// The GNOME Shell extension that reports the window in front to the driver (focus@veldran.org,
// shipped by the package): whether GNOME Shell has it enabled, and enabling it, through the
// Shell's own org.gnome.Shell.Extensions service on the session bus.
#pragma once

#include <optional>

namespace veldran {

inline constexpr const char* kFocusExtensionUuid = "focus@veldran.org";

// Whether the extension runs in the Shell: nothing when the Shell does not answer.
std::optional<bool> focusExtensionEnabled();

// Asks the Shell to enable the extension (GNOME asks the user to confirm nothing more); true when
// it says it did.
bool enableFocusExtension();

} // namespace veldran
