#include "platform/linux/RequestClient.h"

#include "platform/linux/UnixLineSocket.h"

#include <unistd.h>

namespace veldran {

RequestReply sendRequest(const std::string& socketPath, const std::string& line,
                         std::chrono::milliseconds timeout) {
    RequestReply reply;
    const int fd = connectUnixSocket(socketPath);
    if (fd < 0) {
        return reply;
    }
    reply.outcome = RequestReply::Outcome::NoAnswer;
    virtualmouse::LineSplitter lines;
    if (writeLine(fd, line)) {
        if (auto answer = readLine(fd, lines, static_cast<int>(timeout.count()))) {
            reply.outcome = RequestReply::Outcome::Answered;
            reply.line = std::move(*answer);
        }
    }
    close(fd);
    return reply;
}

} // namespace veldran
