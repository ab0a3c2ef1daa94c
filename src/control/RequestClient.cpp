#include "control/RequestClient.h"

#include "control/RequestLine.h"

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace veldran {
namespace {

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

bool writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

RequestReply sendRequest(const std::string& socketPath, const std::string& line,
                         std::chrono::milliseconds timeout) {
    RequestReply reply;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (socketPath.size() >= sizeof(address.sun_path)) {
        return reply;
    }
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
    const Descriptor socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (socket.get() < 0 || ::connect(socket.get(), reinterpret_cast<const sockaddr*>(&address),
                                      sizeof(address)) != 0) {
        return reply;
    }
    reply.outcome = RequestReply::Outcome::NoAnswer;
    if (!writeAll(socket.get(), line + '\n')) {
        return reply;
    }
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::string received;
    char buffer[kMaxRequestLine];
    while (received.find('\n') == std::string::npos && received.size() < 4 * kMaxRequestLine) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return reply;
        }
        pollfd waiting{socket.get(), POLLIN, 0};
        const int ready = ::poll(&waiting, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            return reply;
        }
        const ssize_t n = ::read(socket.get(), buffer, sizeof(buffer));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return reply; // the driver went away without answering
        }
        received.append(buffer, static_cast<std::size_t>(n));
    }
    const std::size_t end = received.find('\n');
    if (end == std::string::npos) {
        return reply;
    }
    reply.outcome = RequestReply::Outcome::Answered;
    reply.line = received.substr(0, end);
    return reply;
}

} // namespace veldran
