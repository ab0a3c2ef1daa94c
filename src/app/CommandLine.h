// The driver's command line: --help, --version, --hidden, --virtual-mouse[=SOCKET], and the
// requests to a running driver (--profile N|next, --status, --show, --hide, --quit,
// --stop-macros).
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace veldran {

struct CommandLine {
    enum class Action { Run, Help, Version, Usage, Request };
    Action action = Action::Run;
    // Set when the driver talks to veldran-virtual-mouse instead of a real mouse.
    std::optional<std::string> virtualMouseSocket;
    // Start with the window hidden in the notification area (a start by the desktop when the
    // mouse arrives); without the mouse, end with one line on standard error, no message box.
    bool startHidden = false;
    // For Action::Request: the request line sent to the running driver ("profile 3", "status").
    std::string request;
    // The profile (1-5) a driver started for --profile applies at start instead of the stored
    // one; 0 keeps the stored one. Not an option: handed over by the starting process.
    int startProfile = 0;
    std::string error; // what was wrong, for Action::Usage
};

// The exit status of a driver started for --profile that ends at start because no mouse is
// connected.
inline constexpr int kNoMouseExitStatus = 3;

// Parses the arguments after the program name.
CommandLine parseCommandLine(const std::vector<std::string>& args);

std::string usageText(const std::string& programName);

} // namespace veldran
