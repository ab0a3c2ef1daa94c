#include "app/CommandLine.h"

#include "platform/VirtualMouseSocket.h"

namespace veldran {

CommandLine parseCommandLine(const std::vector<std::string>& args) {
    CommandLine result;
    const std::string virtualOption = "--virtual-mouse";
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            result.action = CommandLine::Action::Help;
            return result;
        }
        if (arg == "--version") {
            result.action = CommandLine::Action::Version;
            return result;
        }
        if (arg == "--hidden") {
            result.startHidden = true;
        } else if (arg == virtualOption) {
            result.virtualMouseSocket = defaultVirtualMouseSocket();
        } else if (arg.rfind(virtualOption + "=", 0) == 0) {
            std::string socket = arg.substr(virtualOption.size() + 1);
            if (socket.empty()) {
                result.action = CommandLine::Action::Usage;
                result.error = "--virtual-mouse= needs a socket path";
                return result;
            }
            result.virtualMouseSocket = std::move(socket);
        } else {
            result.action = CommandLine::Action::Usage;
            result.error = "unknown argument: " + arg;
            return result;
        }
    }
    return result;
}

std::string usageText(const std::string& programName) {
    return "Usage: " + programName +
           " [--hidden] [--virtual-mouse[=SOCKET]]\n"
           "Configuration program of the VELDRAN GAMING MOUSE.\n"
           "\n"
           "  --hidden                  start hidden in the notification area; without the\n"
           "                            mouse, end quietly\n"
           "  --virtual-mouse[=SOCKET]  use a running veldran-virtual-mouse instead of a mouse\n"
           "                            (default socket: " +
           defaultVirtualMouseSocket() +
           ")\n"
           "  --help                    show this text and exit\n"
           "  --version                 show the version and exit\n";
}

} // namespace veldran
