#include "app/WindowScreenPosition.h"

#include <QGuiApplication>
#include <QWidget>
#include <cmath>

// Last: Xlib's macros (None, Bool) must not come before the Qt headers.
#include <X11/Xlib.h>

namespace veldran {

QPoint windowScreenPosition(const QWidget& window) {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->display() == nullptr ||
        !window.testAttribute(Qt::WA_WState_Created)) {
        return window.geometry().topLeft();
    }
    Display* display = x11->display();
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
