// What a window's process says of its program: the file name of its executable, read from
// /proc/PID/exe only when the process belongs to the driver's own user. A pid comes from the
// desktop (an X property, a compositor's script, a D-Bus caller): another user's process is not
// looked into, even by a driver that could.
#pragma once

#include <string>

namespace veldran {

// The file name of the executable of process pid ("" for 0, a process that is gone, another
// user's, or one whose executable cannot be read).
std::string executableNameOf(unsigned pid);

} // namespace veldran
