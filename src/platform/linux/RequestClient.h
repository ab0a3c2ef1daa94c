// The command line's side of the request lines: connects to the running driver's
// single-instance socket, sends one request line and reads its one answer line. Plain POSIX, so
// that a switch from a script costs no more than a connect, a write and a read.
#pragma once

#include <chrono>
#include <string>

namespace veldran {

struct RequestReply {
    enum class Outcome {
        NotRunning, // nobody listens on the socket
        NoAnswer,   // connected, but no answer line came in time
        Answered,
    };
    Outcome outcome = Outcome::NotRunning;
    std::string line; // the answer without its line feed
};

RequestReply sendRequest(const std::string& socketPath, const std::string& line,
                         std::chrono::milliseconds timeout);

} // namespace veldran
