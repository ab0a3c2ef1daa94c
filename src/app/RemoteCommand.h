// The command line's requests to the running driver (--profile, --status, --show, --hide,
// --quit): sends the request line, prints the answer, and gives the exit status. When no driver
// runs, --profile starts one in the background, hidden, with that profile.
#pragma once

#include "app/CommandLine.h"

namespace veldran {

// Returns the exit status for this process.
int runRemoteCommand(const CommandLine& commandLine);

// In a driver that --profile started: the profile (1-5) it was started for, 0 for none. Removes
// the hand-over from the environment, so the programs that the driver starts never see it.
int takeStartProfile();

} // namespace veldran
