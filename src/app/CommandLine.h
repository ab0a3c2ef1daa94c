// The driver's command line: --help, --version and --virtual-mouse[=SOCKET].
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace veldran {

struct CommandLine {
    enum class Action { Run, Help, Version, Usage };
    Action action = Action::Run;
    // Set when the driver talks to veldran-virtual-mouse instead of a real mouse.
    std::optional<std::string> virtualMouseSocket;
    std::string error; // what was wrong, for Action::Usage
};

// Parses the arguments after the program name.
CommandLine parseCommandLine(const std::vector<std::string>& args);

std::string usageText(const std::string& programName);

} // namespace veldran
