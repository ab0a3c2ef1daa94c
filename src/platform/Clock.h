// Time: a steady clock for pauses and the UTC time of day where a value is stamped with it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace veldran {

// A flag that cuts a sleep short: a thread sleeping on it through Clock::sleepUntil wakes as soon
// as another thread sets it. Once set it stays set.
class WakeFlag {
public:
    void set();
    bool isSet() const;
    // Waits on the steady clock until deadline or until the flag is set; true when it is set.
    bool waitUntil(std::chrono::steady_clock::time_point deadline);

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool set_ = false;
};

class Clock {
public:
    using TimePoint = std::chrono::steady_clock::time_point;
    virtual ~Clock() = default;
    virtual TimePoint now() = 0;
    // Sleeps until the given steady-clock instant (returns at once when it has passed).
    virtual void sleepUntil(TimePoint deadline) = 0;
    void sleepFor(std::chrono::milliseconds duration) { sleepUntil(now() + duration); }
    // Sleeps until deadline or until wake is set, whichever comes first; true when wake is set.
    // This clock's own time decides: the default sleeps the whole way and then looks at wake.
    virtual bool sleepUntil(TimePoint deadline, WakeFlag& wake);
    // Milliseconds since midnight, UTC.
    virtual std::uint32_t utcMillisecondsOfDay() = 0;
};

// The real clock.
class SystemClock final : public Clock {
public:
    TimePoint now() override;
    void sleepUntil(TimePoint deadline) override;
    bool sleepUntil(TimePoint deadline, WakeFlag& wake) override;
    std::uint32_t utcMillisecondsOfDay() override;
};

} // namespace veldran
