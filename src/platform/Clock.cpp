#include "platform/Clock.h"

#include <thread>

namespace veldran {

Clock::TimePoint SystemClock::now() {
    return std::chrono::steady_clock::now();
}

void SystemClock::sleepUntil(TimePoint deadline) {
    std::this_thread::sleep_until(deadline);
}

std::uint32_t SystemClock::utcMillisecondsOfDay() {
    using namespace std::chrono;
    const auto sinceEpoch = duration_cast<milliseconds>(system_clock::now().time_since_epoch());
    return static_cast<std::uint32_t>(sinceEpoch.count() % (24LL * 60 * 60 * 1000));
}

} // namespace veldran
