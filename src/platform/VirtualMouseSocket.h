// Where the driver and veldran-virtual-mouse meet when no socket is given.
#pragma once

#include <string>

namespace veldran {

// $XDG_RUNTIME_DIR/veldran-virtual-mouse.sock, or a per-user name under /tmp when that variable
// is unset or empty.
std::string defaultVirtualMouseSocket();

} // namespace veldran
