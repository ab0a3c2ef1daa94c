// Where the driver and veldran-virtual-mouse meet when no socket is given.
#pragma once

#include <string>

namespace veldran {

// veldran-virtual-mouse.sock in the user's runtime folder ($XDG_RUNTIME_DIR, else the private
// /tmp/veldran-UID; see PrivateFolder.h).
std::string defaultVirtualMouseSocket();

} // namespace veldran
