// Lines over a Unix stream socket: connecting to a socket path, writing one line, and waiting for
// the next line with a time limit. Shared by the virtual mouse's bus and the command line's
// requests to the running driver.
#pragma once

#include "formats/VirtualMouseProtocol.h"

#include <optional>
#include <string>
#include <sys/types.h>

namespace veldran {

// A connected socket, or -1 when nobody listens at path (or path does not fit).
int connectUnixSocket(const std::string& path);
// The uid of the process that bound the socket at the other end of fd (SO_PEERCRED); nothing
// when the kernel does not say.
std::optional<uid_t> peerUser(int fd);
// Writes line and a line feed; false when the peer has gone.
bool writeLine(int fd, const std::string& line);
// Waits for the next line on fd, at most timeoutMs (-1: no limit). A second descriptor, when
// given, ends the wait as soon as it is readable (cancellation). timedOut, when given, tells
// whether nothing came because the time ran out.
std::optional<std::string> readLine(int fd, virtualmouse::LineSplitter& lines, int timeoutMs,
                                    int wakeFd = -1, bool* timedOut = nullptr);

} // namespace veldran
