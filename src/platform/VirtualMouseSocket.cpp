#include "platform/VirtualMouseSocket.h"

#include <cstdlib>
#include <unistd.h>

namespace veldran {

std::string defaultVirtualMouseSocket() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && *runtime != '\0') {
        return std::string(runtime) + "/veldran-virtual-mouse.sock";
    }
    return "/tmp/veldran-virtual-mouse-" + std::to_string(getuid()) + ".sock";
}

} // namespace veldran
