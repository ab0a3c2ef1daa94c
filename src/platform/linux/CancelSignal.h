// The cancel of a blocking read: a flag, and an eventfd that a poll() in the reading thread
// watches beside the device, so that cancel() from any thread wakes the read at once.
#pragma once

#include <atomic>
#include <cstdint>
#include <sys/eventfd.h>
#include <unistd.h>

namespace veldran {

class CancelSignal {
public:
    CancelSignal() : fd_(eventfd(0, EFD_CLOEXEC)) {}
    ~CancelSignal() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    CancelSignal(const CancelSignal&) = delete;
    CancelSignal& operator=(const CancelSignal&) = delete;

    // The descriptor to poll for reading (-1 when no eventfd could be made).
    int fd() const { return fd_; }
    bool cancelled() const { return cancelled_.load(); }

    void cancel() {
        cancelled_.store(true);
        const std::uint64_t one = 1;
        if (fd_ >= 0) {
            [[maybe_unused]] const ssize_t n = write(fd_, &one, sizeof one);
        }
    }

private:
    int fd_;
    std::atomic<bool> cancelled_{false};
};

} // namespace veldran
