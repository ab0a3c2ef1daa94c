// A clock whose time moves only when something sleeps: sleepUntil() jumps to the deadline and
// records the pause, so tests see every pause without waiting for it.
#pragma once

#include "platform/Clock.h"

#include <mutex>
#include <vector>

namespace veldran::fakes {

class FakeClock final : public Clock {
public:
    using Clock::sleepUntil;
    TimePoint now() override {
        std::lock_guard lock(mutex_);
        return now_;
    }
    void sleepUntil(TimePoint deadline) override {
        std::lock_guard lock(mutex_);
        const auto pause = deadline > now_ ? deadline - now_ : TimePoint::duration::zero();
        pauses_.push_back(std::chrono::duration_cast<std::chrono::milliseconds>(pause));
        if (deadline > now_) {
            now_ = deadline;
        }
    }
    std::uint32_t utcMillisecondsOfDay() override {
        std::lock_guard lock(mutex_);
        // The clock's time since its start, read as a time of day (it wraps at midnight).
        const auto ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(now_.time_since_epoch()).count();
        return static_cast<std::uint32_t>(ms % kMillisecondsPerDay);
    }
    std::vector<std::chrono::milliseconds> pauses() const {
        std::lock_guard lock(mutex_);
        return pauses_;
    }
    void advance(std::chrono::milliseconds by) {
        std::lock_guard lock(mutex_);
        now_ += by;
    }

private:
    static constexpr long long kMillisecondsPerDay = 24LL * 60 * 60 * 1000;
    mutable std::mutex mutex_;
    TimePoint now_{};
    std::vector<std::chrono::milliseconds> pauses_;
};

} // namespace veldran::fakes
