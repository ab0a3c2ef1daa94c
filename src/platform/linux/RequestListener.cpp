#include "platform/linux/RequestListener.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace veldran {

RequestListener::~RequestListener() {
    if (fd_.valid()) {
        ::unlink(path_.c_str());
    }
}

std::string RequestListener::listen(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        return "cannot listen at " + path + ": the path is longer than " +
               std::to_string(sizeof address.sun_path - 1) + " bytes";
    }
    std::memcpy(address.sun_path, path.data(), path.size());
    // Only a socket is ever removed: a file of the user's in its place stays.
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode)) {
        ::unlink(path.c_str());
    }
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!fd.valid()) {
        return "cannot listen at " + path + ": " + std::strerror(errno);
    }
    // The socket is the user's alone, whatever the umask (its folder is private too).
    const mode_t oldMask = ::umask(077);
    const bool bound =
        ::bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    const int bindErrno = errno;
    ::umask(oldMask);
    if (!bound || ::listen(fd.get(), SOMAXCONN) != 0) {
        return "cannot listen at " + path + ": " + std::strerror(bound ? errno : bindErrno);
    }
    spare_.reset(::open("/dev/null", O_RDONLY | O_CLOEXEC));
    fd_ = std::move(fd);
    path_ = path;
    return {};
}

int RequestListener::accept() {
    for (;;) {
        const int client = ::accept4(fd_.get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (client >= 0) {
            return client;
        }
        if (errno == EINTR || errno == ECONNABORTED) {
            continue;
        }
        if ((errno == EMFILE || errno == ENFILE) && spare_.valid()) {
            // Out of descriptors: the spare one takes the newest connection, which is dropped,
            // so that it does not keep the listener readable; the spare is then taken again.
            spare_.reset();
            UniqueFd dropped(::accept4(fd_.get(), nullptr, nullptr, SOCK_CLOEXEC));
            dropped.reset();
            spare_.reset(::open("/dev/null", O_RDONLY | O_CLOEXEC));
            return -1;
        }
        return -1;
    }
}

} // namespace veldran
