#include "platform/linux/X11DetectableAutoRepeat.h"

#include "platform/linux/QtXDisplay.h"

#include <X11/XKBlib.h>

namespace veldran {

bool enableDetectableAutoRepeat() {
    Display* display = qtXDisplay();
    if (display == nullptr) {
        return false;
    }
    Bool supported = False;
    return XkbSetDetectableAutoRepeat(display, True, &supported) && supported;
}

} // namespace veldran
