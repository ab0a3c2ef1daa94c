// A shell that records the actions it is asked for ("root", "calculator", "terminal", "lock").
#pragma once

#include "platform/Shell.h"

#include <mutex>
#include <string>
#include <vector>

namespace veldran::fakes {

class FakeShell final : public Shell {
public:
    bool openComputerRoot() override { return add("root"); }
    bool startCalculator() override { return add("calculator"); }
    bool startTerminal() override { return add("terminal"); }
    bool lockSession() override { return add("lock"); }

    std::vector<std::string> actions() const {
        std::lock_guard lock(mutex_);
        return actions_;
    }

private:
    bool add(std::string action) {
        std::lock_guard lock(mutex_);
        actions_.push_back(std::move(action));
        return true;
    }
    mutable std::mutex mutex_;
    std::vector<std::string> actions_;
};

} // namespace veldran::fakes
