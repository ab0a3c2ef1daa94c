// The command line's side of the request lines: connects to the running driver's
// single-instance socket, sends one request line and reads its one answer line. Plain POSIX, so
// that a switch from a script costs no more than a connect, a write and a read. Connecting,
// sending and waiting for the answer share one deadline, and only a driver of this user is
// talked to.
#pragma once

#include <chrono>
#include <string>

namespace veldran {

struct RequestReply {
    enum class Outcome {
        NotRunning, // nobody listens on the socket
        NoAnswer,   // no connection or no answer line before the deadline
        Refused,    // the peer is not this user's (line says who it is)
        Answered,
    };
    Outcome outcome = Outcome::NotRunning;
    std::string line; // the answer without its line feed; for Refused, why
};

RequestReply sendRequest(const std::string& socketPath, const std::string& line,
                         std::chrono::steady_clock::time_point deadline);

} // namespace veldran
