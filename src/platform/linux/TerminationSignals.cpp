#include "platform/linux/TerminationSignals.h"

#include <QSocketNotifier>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace veldran {
namespace {

std::atomic<int> signalWriteFd{-1};

void onTerminationSignal(int) {
    const int saved = errno;
    const int fd = signalWriteFd.load();
    if (fd >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t n = write(fd, &byte, 1);
    }
    errno = saved;
}

void setHandler(void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

} // namespace

TerminationSignals::TerminationSignals(std::function<void()> onSignal, QObject* parent)
    : QObject(parent), onSignal_(std::move(onSignal)) {
    if (pipe2(fds_, O_CLOEXEC | O_NONBLOCK) != 0) {
        fds_[0] = fds_[1] = -1;
        return; // the signals keep their default action: the program ends at once
    }
    notifier_ = std::make_unique<QSocketNotifier>(fds_[0], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        while (read(fds_[0], bytes, sizeof bytes) > 0) {
        }
        if (onSignal_) {
            onSignal_();
        }
    });
    signalWriteFd.store(fds_[1]);
    setHandler(onTerminationSignal);
}

TerminationSignals::~TerminationSignals() {
    if (fds_[1] < 0) {
        return;
    }
    setHandler(SIG_DFL);
    signalWriteFd.store(-1);
    notifier_.reset();
    close(fds_[0]);
    close(fds_[1]);
}

} // namespace veldran
