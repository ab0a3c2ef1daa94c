// Dragging the frameless main window by its background: the window system's own move where it
// offers one, otherwise the window follows the pointer until the button is released (as under an
// X server without a window manager).
#pragma once

#include <QPoint>

class QWidget;

namespace veldran {

class WindowMover {
public:
    explicit WindowMover(QWidget& window) : window_(window) {}

    // A press at globalPos (screen coordinates) starts a move.
    void start(QPoint globalPos);
    // True while the window follows the pointer by itself.
    bool following() const { return following_; }
    // Pointer movement while the button is held; moves the window when it follows the pointer.
    void pointerMoved(QPoint globalPos);
    void released() { following_ = false; }

private:
    QWidget& window_;
    bool following_ = false;
    QPoint offset_; // pointer position relative to the window's top-left corner
};

} // namespace veldran
