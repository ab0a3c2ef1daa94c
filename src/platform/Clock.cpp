#include "platform/Clock.h"

#include <thread>

namespace veldran {

void WakeFlag::set() {
    {
        std::lock_guard lock(mutex_);
        set_ = true;
    }
    changed_.notify_all();
}

bool WakeFlag::isSet() const {
    std::lock_guard lock(mutex_);
    return set_;
}

bool WakeFlag::waitUntil(std::chrono::steady_clock::time_point deadline) {
    std::unique_lock lock(mutex_);
    // An absolute deadline on the monotonic clock: spurious wake-ups do not shift it.
    return changed_.wait_until(lock, deadline, [this] { return set_; });
}

bool Clock::sleepUntil(TimePoint deadline, WakeFlag& wake) {
    if (wake.isSet()) {
        return true;
    }
    sleepUntil(deadline);
    return wake.isSet();
}

Clock::TimePoint SystemClock::now() {
    return std::chrono::steady_clock::now();
}

void SystemClock::sleepUntil(TimePoint deadline) {
    std::this_thread::sleep_until(deadline);
}

bool SystemClock::sleepUntil(TimePoint deadline, WakeFlag& wake) {
    return wake.waitUntil(deadline);
}

std::uint32_t SystemClock::utcMillisecondsOfDay() {
    using namespace std::chrono;
    const auto sinceEpoch = duration_cast<milliseconds>(system_clock::now().time_since_epoch());
    return static_cast<std::uint32_t>(sinceEpoch.count() % (24LL * 60 * 60 * 1000));
}

} // namespace veldran
