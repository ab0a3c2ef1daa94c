// Starts a program detached from this one: in a session of its own, its standard input from
// /dev/null, no shell in between, and no child left for this process to collect.
#pragma once

#include "platform/linux/DesktopPrograms.h"

#include <string>

namespace veldran {

// Starts command and returns once it has been executed (or could not be). On failure, error
// describes why.
bool startDetached(const ProgramCommand& command, std::string& error);

// Runs command and waits for it, at most timeoutMs milliseconds; true when it exited with
// status 0. For short helper commands such as a session lock request.
bool runAndWait(const ProgramCommand& command, int timeoutMs, std::string& error);

} // namespace veldran
