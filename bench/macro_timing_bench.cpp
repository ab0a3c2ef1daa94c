// How exactly macro pauses are kept, against the real clock.
//
// BM_MacroPauseError: a 40-event macro with pauses of 1 to 40 ms. The error of an event is how
// late it leaves the input adapter compared with the moment its pauses add up to; the last
// event's error is the drift over the whole macro.
//
// BM_LoopPassError: a macro of four events and 20 ms of pauses played in a loop on the player's
// own thread for 100 passes, on an idle machine (argument 0) and with every core kept busy by
// spinning threads (argument 1). A pass's error is how late its first event comes compared with
// the moment the passes before it add up to (so it also shows drift); the interval error is how
// far the time between two passes' starts is from 20 ms.
#include "config/MacroRepeat.h"
#include "device/MacroPlayer.h"
#include "platform/Clock.h"
#include "platform/InputSynth.h"

#include <algorithm>
#include <atomic>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

namespace veldran {
namespace {

using SteadyClock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;

// Notes when each event leaves; written by one player thread, read once it has stopped.
class StampingInput final : public InputSynth {
public:
    explicit StampingInput(std::size_t room) : stamps(room) {}
    std::uint16_t scanCode(std::uint8_t) override { return 0; }
    void keyDown(std::uint8_t, std::uint16_t) override { stamp(); }
    void keyUp(std::uint8_t, std::uint16_t) override { stamp(); }
    void mouseButton(MouseButton, bool) override { stamp(); }
    std::vector<SteadyClock::time_point> stamps;
    std::atomic<std::size_t> count{0};

private:
    void stamp() {
        const std::size_t at = count.load(std::memory_order_relaxed);
        if (at < stamps.size()) {
            stamps[at] = SteadyClock::now();
        }
        count.store(at + 1, std::memory_order_release);
    }
};

MacroRecord macroOf(int events, int (*pause)(int)) {
    MacroRecord record;
    record.eventCount = static_cast<std::uint8_t>(events);
    for (int k = 0; k < events; ++k) {
        const auto action = static_cast<std::uint8_t>(k % 2 == 0 ? 1 : 2);
        record.setEvent(k, {static_cast<std::uint8_t>(0x41 + (k / 2) % 26), action,
                            static_cast<std::uint16_t>(pause(k))});
    }
    return record;
}

double median(std::vector<double>& values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void BM_MacroPauseError(benchmark::State& state) {
    constexpr int kEvents = 40;
    const MacroRecord record = macroOf(kEvents, [](int k) { return 1 + (k * 7) % 40; });
    SystemClock clock;
    WakeFlag stop;
    std::vector<double> errors;
    std::vector<double> drifts;
    for (auto _ : state) {
        StampingInput input(kEvents);
        HeldInput held(input);
        const auto start = SteadyClock::now();
        MacroPlayer::playPasses(held, clock, 1, record, kRepeatOnce, stop);
        const auto end = SteadyClock::now();
        // Event k is due when the pauses of events 0 to k-1 have passed since the start.
        auto due = start;
        for (int k = 0; k < kEvents; ++k) {
            errors.push_back(Milliseconds(input.stamps[static_cast<std::size_t>(k)] - due).count());
            due += std::chrono::milliseconds(record.event(k).pause);
        }
        drifts.push_back(Milliseconds(end - due).count());
    }
    state.counters["median_error_ms"] = median(errors);
    state.counters["worst_error_ms"] = errors.back();
    state.counters["worst_end_drift_ms"] = *std::max_element(drifts.begin(), drifts.end());
}
BENCHMARK(BM_MacroPauseError)->Iterations(20)->Unit(benchmark::kMillisecond);

void BM_LoopPassError(benchmark::State& state) {
    constexpr int kEvents = 4;
    constexpr int kPasses = 100;
    constexpr double kPassMs = 20.0;
    const MacroRecord record = macroOf(kEvents, [](int) { return 5; });
    const bool loaded = state.range(0) != 0;
    std::atomic<bool> busy{loaded};
    std::vector<std::thread> spinners;
    for (unsigned i = 0; loaded && i < std::max(2U, std::thread::hardware_concurrency()); ++i) {
        spinners.emplace_back([&busy] {
            volatile std::uint64_t n = 0;
            while (busy.load(std::memory_order_relaxed)) {
                n = n + 1;
            }
        });
    }
    SystemClock clock;
    std::vector<double> errors;
    std::vector<double> intervals;
    for (auto _ : state) {
        StampingInput input(kEvents * (kPasses + 2));
        MacroPlayer player(input, clock);
        player.press(0, record, kRepeatLoop);
        while (input.count.load(std::memory_order_acquire) < kEvents * kPasses + 1) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        player.press(0, record, kRepeatLoop); // the loop's button again: it stops
        player.waitUntilIdle();
        const auto first = input.stamps[0];
        for (int p = 0; p < kPasses; ++p) {
            const auto at = input.stamps[static_cast<std::size_t>(p * kEvents)];
            errors.push_back(Milliseconds(at - first).count() - p * kPassMs);
            if (p > 0) {
                const auto before = input.stamps[static_cast<std::size_t>((p - 1) * kEvents)];
                intervals.push_back(std::abs(Milliseconds(at - before).count() - kPassMs));
            }
        }
    }
    busy = false;
    for (std::thread& spinner : spinners) {
        spinner.join();
    }
    state.counters["median_pass_error_ms"] = median(errors);
    state.counters["worst_pass_error_ms"] = errors.back();
    state.counters["median_interval_error_ms"] = median(intervals);
    state.counters["worst_interval_error_ms"] = intervals.back();
}
BENCHMARK(BM_LoopPassError)
    ->ArgName("loaded")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

} // namespace
} // namespace veldran

BENCHMARK_MAIN();
