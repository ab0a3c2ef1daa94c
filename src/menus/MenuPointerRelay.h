// The function menus under a held pointer. X11 keeps the pointer with the window that got the
// press until the release, so a press on a button field, a drag into the menu it opened and a
// release on a row all arrive at the main window. While a function menu is open, those moves and
// that release are handed to the menu window under the pointer, in its own coordinates, exactly
// as if it had received them; the main window then leaves them alone.
#pragma once

#include <QPoint>

class QMouseEvent;
class QWidget;

namespace veldran {

class CMenuDlg;

// The window of the open function menu, or of its advanced function menu, whose shape holds the
// screen point global; none when the point is outside both shapes (or menu is none).
QWidget* menuWindowAt(CMenuDlg* menu, QPoint global);

// Hands event (a move with the left button held, or the left button's release) to window when
// its shape holds the pointer. Returns whether it did.
bool relayHeldPointerTo(QWidget* window, const QMouseEvent& event);

// Hands event (a move with the left button held, or the left button's release, received by the
// main window) to the menu window under the pointer. Returns true when a menu window took it:
// the main window must not act on its own elements for this event.
bool relayHeldPointer(CMenuDlg* menu, const QMouseEvent& event);

} // namespace veldran
