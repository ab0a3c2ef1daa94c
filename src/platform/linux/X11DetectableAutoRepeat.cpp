#include "platform/linux/X11DetectableAutoRepeat.h"

#include <QGuiApplication>
#include <X11/XKBlib.h>

namespace veldran {

bool enableDetectableAutoRepeat() {
    auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                                   : nullptr;
    if (x11 == nullptr || x11->display() == nullptr) {
        return false;
    }
    Bool supported = False;
    return XkbSetDetectableAutoRepeat(x11->display(), True, &supported) && supported;
}

} // namespace veldran
