#include "skin/PointerInputWindowMove.h"

#include <QWidget>
#include <QWindow>

namespace veldran {

void WindowMover::start(QPoint globalPos) {
    QWindow* handle = window_.windowHandle();
    if (handle != nullptr && handle->startSystemMove()) {
        following_ = false;
        return;
    }
    following_ = true;
    offset_ = globalPos - window_.pos();
}

void WindowMover::pointerMoved(QPoint globalPos) {
    if (following_) {
        window_.move(globalPos - offset_);
    }
}

} // namespace veldran
