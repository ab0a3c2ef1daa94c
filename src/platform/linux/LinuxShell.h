// The desktop actions of software buttons on Linux: the file manager at "/", the desktop's
// calculator, a terminal (each the first program found from a documented list, started detached
// and without a shell) and locking the session (the freedesktop screen saver service, logind,
// then the lock commands). A failure changes nothing; the first failure of each action is
// written to stderr.
#pragma once

#include "platform/Shell.h"
#include "platform/linux/DesktopPrograms.h"

#include <atomic>
#include <string>

namespace veldran {

class LinuxShell final : public Shell {
public:
    bool openComputerRoot() override;
    bool startCalculator() override;
    bool startTerminal() override;
    bool lockSession() override;

private:
    enum Action { Root, Calculator, Terminal, Lock, ActionCount };
    bool startFirst(Action action, std::span<const ProgramCandidate> candidates, const char* what);
    void reportOnce(Action action, const std::string& message);
    std::atomic<bool> reported_[ActionCount] = {};
};

} // namespace veldran
