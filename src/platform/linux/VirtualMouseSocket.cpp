#include "platform/linux/VirtualMouseSocket.h"

#include "platform/PrivateFolder.h"

namespace veldran {

std::string defaultVirtualMouseSocket() {
    return runtimeFolder().path + "/veldran-virtual-mouse.sock";
}

} // namespace veldran
