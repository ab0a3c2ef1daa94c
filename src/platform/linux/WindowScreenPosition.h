// Where a top-level window really is on the screen. Qt keeps a window's position from the
// window manager's notices; a window manager that moves the window's frame without telling the
// window (Weston's, for the windows of XWayland) leaves Qt's position behind, so on X the server
// itself is asked. Windows placed beside the main window (the function menus) are placed from
// this position.
#pragma once

#include <QPoint>

class QWidget;

namespace veldran {

// The top-left corner of window on the screen, in Qt's coordinates.
QPoint windowScreenPosition(const QWidget& window);

} // namespace veldran
