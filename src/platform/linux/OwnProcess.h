// This process as the system knows it: the path of its executable, and children started again
// from it in a session of their own (the hidden driver that the command line starts).
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace veldran {

// The path of the running executable (/proc/self/exe), "" when it cannot be read.
std::string executablePath();

// Starts argv (argv[0] a path, no shell) as a child in a session of its own, with this process's
// environment, working in "/"; its standard input and output on /dev/null, its standard error
// this process's when that is a terminal, else /dev/null, and no other descriptor of this process
// open in it. The child's pid, or -1.
int startInOwnSession(const std::vector<std::string>& argv);

// Raises this process's soft limit of open descriptors to its hard limit, so that a flood of
// connections runs into it as late as the system allows.
void raiseOpenFileLimit();

// The exit status of a child started by startInOwnSession once it has ended (it is collected
// then; 128 + the signal for one that a signal ended), nothing while it runs. Never waits.
std::optional<int> childExitStatus(int pid);

} // namespace veldran
