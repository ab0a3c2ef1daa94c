// The X connection of the running Qt application, for the few requests Qt has no call for.
#pragma once

struct _XDisplay;

namespace veldran {

// The application's X display; null when there is no application or it does not run on X11.
_XDisplay* qtXDisplay();

} // namespace veldran
