#include "platform/linux/QtXDisplay.h"

#include <QGuiApplication>

namespace veldran {

_XDisplay* qtXDisplay() {
    auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                                   : nullptr;
    return x11 != nullptr ? x11->display() : nullptr;
}

} // namespace veldran
