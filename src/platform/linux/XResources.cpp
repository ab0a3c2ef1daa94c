#include "platform/linux/XResources.h"

#include <X11/Xlib.h>

namespace veldran {

void DisplayCloser::operator()(_XDisplay* display) const {
    if (display != nullptr) {
        XCloseDisplay(display);
    }
}

} // namespace veldran
