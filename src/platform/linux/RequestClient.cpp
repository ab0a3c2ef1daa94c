#include "platform/linux/RequestClient.h"

#include "platform/linux/UniqueFd.h"
#include "platform/linux/UnixLineSocket.h"

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace veldran {
namespace {

using Clock = std::chrono::steady_clock;

int millisecondsUntil(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

enum class Connect { Connected, NotRunning, TimedOut };

// Connects without blocking past the deadline: a driver that is stopped or flooded has a full
// backlog, where a blocking connect would wait for as long as it stays so.
Connect connectBy(int fd, const std::string& path, Clock::time_point deadline) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path) {
        return Connect::NotRunning;
    }
    std::memcpy(address.sun_path, path.data(), path.size());
    for (;;) {
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
            return Connect::Connected;
        }
        if (errno == EINTR) {
            continue;
        }
        if (errno == EINPROGRESS) {
            pollfd ready{fd, POLLOUT, 0};
            int error = 0;
            socklen_t length = sizeof error;
            if (::poll(&ready, 1, millisecondsUntil(deadline)) <= 0) {
                return Connect::TimedOut;
            }
            return ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0
                       ? Connect::Connected
                       : Connect::NotRunning;
        }
        if (errno != EAGAIN) {
            return Connect::NotRunning;
        }
        // The listener's backlog is full: try again shortly, until the deadline.
        if (Clock::now() >= deadline) {
            return Connect::TimedOut;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

bool sendBy(int fd, const std::string& text, Clock::time_point deadline) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n =
            ::send(fd, text.data() + done, text.size() - done, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && errno == EAGAIN) {
            pollfd ready{fd, POLLOUT, 0};
            if (::poll(&ready, 1, millisecondsUntil(deadline)) > 0) {
                continue;
            }
        }
        return false;
    }
    return true;
}

} // namespace

RequestReply sendRequest(const std::string& socketPath, const std::string& line,
                         Clock::time_point deadline) {
    RequestReply reply;
    const UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!fd.valid()) {
        return reply;
    }
    const Connect connected = connectBy(fd.get(), socketPath, deadline);
    if (connected == Connect::NotRunning) {
        return reply;
    }
    reply.outcome = RequestReply::Outcome::NoAnswer;
    if (connected == Connect::TimedOut) {
        return reply;
    }
    // The socket's folder is checked, but a listener of another user must not get the request
    // either, nor be believed: the kernel says who bound it.
    if (const auto peer = peerUser(fd.get()); !peer || *peer != ::getuid()) {
        reply.outcome = RequestReply::Outcome::Refused;
        reply.line = "refusing the driver at " + socketPath + ": " +
                     (peer ? "it runs as uid " + std::to_string(*peer) : "its user is unknown") +
                     ", not this user";
        return reply;
    }
    virtualmouse::LineSplitter lines;
    if (sendBy(fd.get(), line + "\n", deadline)) {
        if (auto answer = readLine(fd.get(), lines, millisecondsUntil(deadline))) {
            reply.outcome = RequestReply::Outcome::Answered;
            reply.line = std::move(*answer);
        }
    }
    return reply;
}

} // namespace veldran
