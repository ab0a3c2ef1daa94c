// Time: a steady clock for pauses and the UTC time of day where a value is stamped with it.
#pragma once

#include <chrono>
#include <cstdint>

namespace veldran {

class Clock {
public:
    using TimePoint = std::chrono::steady_clock::time_point;
    virtual ~Clock() = default;
    virtual TimePoint now() = 0;
    // Sleeps until the given steady-clock instant (returns at once when it has passed).
    virtual void sleepUntil(TimePoint deadline) = 0;
    void sleepFor(std::chrono::milliseconds duration) { sleepUntil(now() + duration); }
    // Milliseconds since midnight, UTC.
    virtual std::uint32_t utcMillisecondsOfDay() = 0;
};

// The real clock.
class SystemClock final : public Clock {
public:
    TimePoint now() override;
    void sleepUntil(TimePoint deadline) override;
    std::uint32_t utcMillisecondsOfDay() override;
};

} // namespace veldran
