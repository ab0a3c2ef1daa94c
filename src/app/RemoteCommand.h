// The command line's requests to the running driver (--profile, --status, --show, --hide,
// --quit): sends the request line, prints the answer, and gives the exit status. When no driver
// runs, --profile starts one in the background, hidden, with that profile.
#pragma once

#include "app/CommandLine.h"

#include <optional>

namespace veldran {

// Returns the exit status for this process; nothing when this process is the background driver
// that --profile started: it goes on to run as the driver with commandLine as changed here.
std::optional<int> runRemoteCommand(CommandLine& commandLine);

} // namespace veldran
