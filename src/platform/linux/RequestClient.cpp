#include "platform/linux/RequestClient.h"

#include "platform/linux/UniqueFd.h"
#include "platform/linux/UnixLineSocket.h"

namespace veldran {

RequestReply sendRequest(const std::string& socketPath, const std::string& line,
                         std::chrono::milliseconds timeout) {
    RequestReply reply;
    const UniqueFd socket(connectUnixSocket(socketPath));
    if (!socket.valid()) {
        return reply;
    }
    const int fd = socket.get();
    reply.outcome = RequestReply::Outcome::NoAnswer;
    virtualmouse::LineSplitter lines;
    if (writeLine(fd, line)) {
        if (auto answer = readLine(fd, lines, static_cast<int>(timeout.count()))) {
            reply.outcome = RequestReply::Outcome::Answered;
            reply.line = std::move(*answer);
        }
    }
    return reply;
}

} // namespace veldran
