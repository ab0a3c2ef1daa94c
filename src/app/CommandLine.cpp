#include "app/CommandLine.h"

#include "formats/RequestLine.h"
#include "platform/linux/VirtualMouseSocket.h"

#include <filesystem>

namespace veldran {
namespace {

CommandLine usage(std::string error) {
    CommandLine result;
    result.action = CommandLine::Action::Usage;
    result.error = std::move(error);
    return result;
}

// The request line of an option that talks to the running driver; empty when arg is none.
// Takes the value of --profile from the next argument when it is not given with "=".
std::string requestOf(const std::vector<std::string>& args, std::size_t& i, std::string& error) {
    const std::string& arg = args[i];
    if (arg == "--status" || arg == "--show" || arg == "--hide" || arg == "--quit" ||
        arg == "--stop-macros") {
        return arg.substr(2);
    }
    for (const std::string option : {"--export", "--import"}) {
        std::string file;
        if (arg == option && i + 1 < args.size()) {
            file = args[++i];
        } else if (arg.rfind(option + "=", 0) == 0) {
            file = arg.substr(option.size() + 1);
        } else if (arg != option) {
            continue;
        }
        // The running driver works in a folder of its own: it is given the whole path.
        std::error_code ignored;
        const Request request = parseRequestLine(
            option.substr(2) + ' ' +
            (file.empty() ? ""
                          : std::filesystem::absolute(file, ignored).lexically_normal().string()));
        if (request.kind == Request::Kind::Invalid) {
            error = option + " needs a file name (on one line)";
            return {};
        }
        return requestLine(request);
    }
    const std::string profileOption = "--profile";
    std::string value;
    if (arg == profileOption) {
        if (i + 1 >= args.size()) {
            error = "--profile needs a profile: 1 to 5 or next";
            return {};
        }
        value = args[++i];
    } else if (arg.rfind(profileOption + "=", 0) == 0) {
        value = arg.substr(profileOption.size() + 1);
    } else {
        return {};
    }
    const Request request = parseRequestLine("profile " + value);
    if (request.kind == Request::Kind::Invalid) {
        error = "--profile takes 1 to 5 or next, not '" + value + "'";
        return {};
    }
    return requestLine(request);
}

} // namespace

CommandLine parseCommandLine(const std::vector<std::string>& args) {
    CommandLine result;
    bool json = false;
    const std::string virtualOption = "--virtual-mouse";
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            result.action = CommandLine::Action::Help;
            return result;
        }
        if (arg == "--version") {
            result.action = CommandLine::Action::Version;
            return result;
        }
        std::string error;
        if (std::string request = requestOf(args, i, error); !request.empty()) {
            if (!result.request.empty()) {
                return usage(
                    "only one of --profile, --status, --show, --hide, --quit, --stop-macros, "
                    "--export and --import");
            }
            result.request = std::move(request);
        } else if (!error.empty()) {
            return usage(error);
        } else if (arg == "--json") {
            json = true;
        } else if (arg == "--hidden") {
            result.startHidden = true;
        } else if (arg == virtualOption) {
            result.virtualMouseSocket = defaultVirtualMouseSocket();
        } else if (arg.rfind(virtualOption + "=", 0) == 0) {
            std::string socket = arg.substr(virtualOption.size() + 1);
            if (socket.empty()) {
                return usage("--virtual-mouse= needs a socket path");
            }
            result.virtualMouseSocket = std::move(socket);
        } else {
            return usage("unknown argument: " + arg);
        }
    }
    if (json) {
        if (result.request != "status") {
            return usage("--json goes with --status");
        }
        result.request = "status json";
    }
    if (!result.request.empty()) {
        if (result.startHidden) {
            return usage("--hidden does not combine with --profile, --status, --show, --hide, "
                         "--quit, --stop-macros, --export or --import");
        }
        result.action = CommandLine::Action::Request;
    }
    return result;
}

std::string usageText(const std::string& programName) {
    return "Usage: " + programName +
           " [--hidden] [--virtual-mouse[=SOCKET]]\n"
           "       " +
           programName +
           " --profile N|next | --status [--json] | --show | --hide | --quit |\n"
           "                      --stop-macros | --export FILE | --import FILE\n"
           "                      [--virtual-mouse[=SOCKET]]\n"
           "Configuration program of the VELDRAN GAMING MOUSE.\n"
           "\n"
           "  --hidden                  start hidden in the notification area; without the\n"
           "                            mouse, end quietly\n"
           "  --virtual-mouse[=SOCKET]  use a running veldran-virtual-mouse instead of a mouse\n"
           "                            (default socket: " +
           defaultVirtualMouseSocket() +
           ")\n"
           "  --profile N|next          switch the running driver to profile N (1 to 5) or the\n"
           "                            next one and apply it; without a running driver, start\n"
           "                            one hidden with that profile\n"
           "  --status [--json]         print the running driver's profile, connected, armed,\n"
           "                            recording, dpi-stage, playing and focus-source, one a\n"
           "                            line; with --json one JSON object with the mouse's\n"
           "                            settings too\n"
           "  --show, --hide            show the running driver's window, or hide it\n"
           "  --quit                    reset the mouse and end the running driver\n"
           "  --stop-macros             stop every macro the running driver plays and release\n"
           "                            the keys they hold\n"
           "  --export FILE             write the five profiles, the macros and the program\n"
           "                            rules to FILE (JSON)\n"
           "  --import FILE             replace them with those of FILE, keeping the old\n"
           "                            files in backup-DATE/ of the settings folder, and\n"
           "                            apply the selected profile; with or without a\n"
           "                            running driver\n"
           "  --help                    show this text and exit\n"
           "  --version                 show the version and exit\n"
           "\n"
           "Exit status: 0 on success; 1 when the mouse is absent or no driver can be reached\n"
           "(one line on standard error); 2 for a wrong command line or a file --import\n"
           "refuses.\n";
}

} // namespace veldran
