// A main window stand-in: counts repaints, records message texts and runs "UI thread" work
// directly on the calling thread under a lock.
#pragma once

#include "config/WindowPort.h"

#include <atomic>
#include <mutex>
#include <vector>

namespace veldran::fakes {

class FakeWindowPort final : public WindowPort {
public:
    void repaint() override { ++repaints_; }
    void showMessage(const std::string& text) override {
        std::lock_guard lock(mutex_);
        messages_.push_back(text);
    }
    void runOnUiThread(const std::function<void()>& work) override {
        std::lock_guard lock(uiMutex_);
        ++uiRuns_;
        work();
    }

    int repaints() const { return repaints_.load(); }
    int uiRuns() const { return uiRuns_.load(); }
    std::vector<std::string> messages() const {
        std::lock_guard lock(mutex_);
        return messages_;
    }

private:
    std::atomic<int> repaints_{0};
    std::atomic<int> uiRuns_{0};
    mutable std::mutex mutex_;
    std::recursive_mutex uiMutex_;
    std::vector<std::string> messages_;
};

} // namespace veldran::fakes
