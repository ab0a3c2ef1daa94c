// This process as the system knows it: the path of its executable, and children started again
// from it in a session of their own (the hidden driver that the command line starts).
#pragma once

#include <string>
#include <vector>

namespace veldran {

// The path of the running executable (/proc/self/exe), "" when it cannot be read.
std::string executablePath();

// Starts argv (argv[0] a path, no shell) as a child in a session of its own, its standard
// streams on /dev/null, no other descriptor of this process open in it, working in "/", with
// this process's environment. The child's pid, or -1.
int startInOwnSession(const std::vector<std::string>& argv);

// Raises this process's soft limit of open descriptors to its hard limit, so that a flood of
// connections runs into it as late as the system allows.
void raiseOpenFileLimit();

// Whether a child started by startInOwnSession has ended (it is collected then). Never waits.
bool childHasEnded(int pid);

} // namespace veldran
