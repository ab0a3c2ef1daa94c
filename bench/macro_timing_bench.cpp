// How exactly macro pauses are kept: a 40-event macro with pauses of 1 to 40 ms played against
// the real clock. The error of an event is how late it leaves the input adapter compared with
// the moment its pauses add up to; the last event's error is the drift over the whole macro.
#include "device/MacroPlayer.h"
#include "platform/Clock.h"
#include "platform/InputSynth.h"

#include <algorithm>
#include <atomic>
#include <benchmark/benchmark.h>
#include <chrono>
#include <vector>

namespace veldran {
namespace {

using SteadyClock = std::chrono::steady_clock;

class StampingInput final : public InputSynth {
public:
    std::uint16_t scanCode(std::uint8_t) override { return 0; }
    void keyDown(std::uint8_t, std::uint16_t) override { stamps.push_back(SteadyClock::now()); }
    void keyUp(std::uint8_t, std::uint16_t) override { stamps.push_back(SteadyClock::now()); }
    void mouseButton(MouseButton, bool) override { stamps.push_back(SteadyClock::now()); }
    std::vector<SteadyClock::time_point> stamps;
};

constexpr int kEvents = 40;

MacroRecord fortyEventMacro() {
    MacroRecord record;
    record.eventCount = kEvents;
    for (int k = 0; k < kEvents; ++k) {
        const auto action = static_cast<std::uint8_t>(k % 2 == 0 ? 1 : 2);
        record.setEvent(k, {static_cast<std::uint8_t>(0x41 + (k / 2) % 26), action,
                            static_cast<std::uint16_t>(1 + (k * 7) % 40)});
    }
    return record;
}

void BM_MacroPauseError(benchmark::State& state) {
    const MacroRecord record = fortyEventMacro();
    SystemClock clock;
    std::atomic<bool> stop{false};
    std::vector<double> errors;
    std::vector<double> drifts;
    for (auto _ : state) {
        StampingInput input;
        MacroPlayer player(input, clock);
        const auto start = SteadyClock::now();
        player.play(record, stop);
        const auto end = SteadyClock::now();
        // Event k is due when the pauses of events 0 to k-1 have passed since the start.
        auto due = start;
        for (int k = 0; k < kEvents; ++k) {
            const std::chrono::duration<double, std::milli> late = input.stamps[k] - due;
            errors.push_back(late.count());
            due += std::chrono::milliseconds(record.event(k).pause);
        }
        drifts.push_back(std::chrono::duration<double, std::milli>(end - due).count());
    }
    std::sort(errors.begin(), errors.end());
    std::sort(drifts.begin(), drifts.end());
    state.counters["median_error_ms"] = errors[errors.size() / 2];
    state.counters["worst_error_ms"] = errors.back();
    state.counters["worst_end_drift_ms"] = drifts.back();
}
BENCHMARK(BM_MacroPauseError)->Iterations(20)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace veldran

BENCHMARK_MAIN();
