#include "platform/linux/WindowScreenPosition.h"

#include "platform/linux/QtXDisplay.h"

#include <QWidget>
#include <cmath>

// Last: Xlib's macros (None, Bool) must not come before the Qt headers.
#include <X11/Xlib.h>

namespace veldran {

QPoint windowScreenPosition(const QWidget& window) {
    Display* display = qtXDisplay();
    if (display == nullptr || !window.testAttribute(Qt::WA_WState_Created)) {
        return window.geometry().topLeft();
    }
    int x = 0;
    int y = 0;
    ::Window child = 0;
    if (XTranslateCoordinates(display, window.winId(), DefaultRootWindow(display), 0, 0, &x, &y,
                              &child) == 0) {
        return window.geometry().topLeft();
    }
    // The server counts device pixels; Qt's coordinates are scaled by the window's pixel ratio.
    const double ratio = window.devicePixelRatioF();
    return {static_cast<int>(std::lround(x / ratio)), static_cast<int>(std::lround(y / ratio))};
}

} // namespace veldran
