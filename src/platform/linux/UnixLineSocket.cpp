#include "platform/linux/UnixLineSocket.h"

#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace veldran {

using virtualmouse::LineSplitter;

int connectUnixSocket(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path) {
        return -1;
    }
    std::memcpy(address.sun_path, path.data(), path.size());
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return -1;
    }
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

std::optional<uid_t> peerUser(int fd) {
    ucred peer{};
    socklen_t length = sizeof peer;
    if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) != 0) {
        return std::nullopt;
    }
    return peer.uid;
}

bool writeLine(int fd, const std::string& line) {
    const std::string text = line + "\n";
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = send(fd, text.data() + done, text.size() - done, MSG_NOSIGNAL);
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

std::optional<std::string> readLine(int fd, LineSplitter& lines, int timeoutMs, int wakeFd,
                                    bool* timedOut) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (auto line = lines.next()) {
            return line;
        }
        int wait = -1;
        if (timeoutMs >= 0) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) {
                if (timedOut != nullptr) {
                    *timedOut = true;
                }
                return std::nullopt;
            }
            wait = static_cast<int>(left.count());
        }
        std::array<pollfd, 2> fds{{{fd, POLLIN, 0}, {wakeFd, POLLIN, 0}}};
        const int ready = poll(fds.data(), wakeFd >= 0 ? 2 : 1, wait);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready == 0) {
            continue; // the deadline has passed: said at the top of the loop
        }
        if (ready < 0 || (wakeFd >= 0 && fds[1].revents != 0)) {
            return std::nullopt;
        }
        std::array<char, 4096> chunk{};
        const ssize_t n = recv(fd, chunk.data(), chunk.size(), 0);
        if (n <= 0 || !lines.feed({chunk.data(), static_cast<std::size_t>(n)})) {
            return std::nullopt;
        }
    }
}

} // namespace veldran
