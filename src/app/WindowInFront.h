// Showing the main window in front, the same way for every door that asks for it (the tray icon
// and its menu, a second start, --show, D-Bus Show): mapped normal, never minimised, raised and
// given the focus.
#pragma once

#include <chrono>

class QWidget;

namespace veldran {

// When the window is looked at again, in case the window manager was still handling an earlier
// hide and mapped it minimised all the same.
inline constexpr std::chrono::milliseconds kSecondLookAtShownWindow{150};

void showWindowInFront(QWidget& window);

// The window is being hidden or minimised on purpose: a second look that is still due must not
// take it for the window manager's doing and show it again.
void cancelSecondLook(QWidget& window);

} // namespace veldran
