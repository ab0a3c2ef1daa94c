#include "skin/ShapedWindow.h"

#include <QWidget>

namespace veldran {

QRegion windowSystemShape(const QRegion& shape) {
    return shape.isEmpty() ? QRegion(-1, -1, 1, 1) : shape;
}

void setWindowShape(QWidget& window, const QRegion& shape) {
    window.setMask(windowSystemShape(shape));
}

} // namespace veldran
