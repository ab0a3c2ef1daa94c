// SIGTERM and SIGINT delivered on the event loop: the signal handler only writes one byte to a
// pipe, and a socket notifier on the pipe's other end runs the program's own handler, so that
// the driver ends as it does on Quit (held keys released, threads joined) instead of dying in
// the middle of a macro.
#pragma once

#include <QObject>
#include <functional>
#include <memory>

class QSocketNotifier;

namespace veldran {

class TerminationSignals final : public QObject {
    Q_OBJECT
public:
    // Installs the handlers; onSignal runs on the event loop for every SIGTERM or SIGINT. Only
    // one object may exist at a time; its destruction puts the default handlers back.
    explicit TerminationSignals(std::function<void()> onSignal, QObject* parent = nullptr);
    ~TerminationSignals() override;

private:
    std::function<void()> onSignal_;
    std::unique_ptr<QSocketNotifier> notifier_;
    int fds_[2] = {-1, -1};
};

} // namespace veldran
