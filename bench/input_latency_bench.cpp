// Latency from a press report leaving the mouse's side to the first synthesised key leaving the
// input adapter, through the device event reader's thread. The function measured is the mute
// key (code 26), which has no pause of its own; presses are spaced beyond the reader's 2 ms
// pause after each read, so that pause is not counted either. Two sources of the report: the
// in-memory HID bus (the reader's own cost) and the virtual mouse process over its socket (a
// report written by another process, as the real mouse's reports come from the kernel).
#include "config/FunctionCode.h"
#include "device/DeviceEventReaderRig.h"
#include "fakes/VirtualMouseProcess.h"
#include "platform/linux/VirtualHidBus.h"

#include <algorithm>
#include <atomic>
#include <benchmark/benchmark.h>
#include <chrono>
#include <thread>
#include <vector>

namespace veldran {
namespace {

using Clock = std::chrono::steady_clock;

// Input that stamps the moment each key-down leaves it.
class StampingInput final : public InputSynth {
public:
    std::uint16_t scanCode(std::uint8_t) override { return 0; }
    void keyDown(std::uint8_t, std::uint16_t) override {
        lastDown_.store(Clock::now().time_since_epoch().count());
        downs_.fetch_add(1);
    }
    void keyUp(std::uint8_t, std::uint16_t) override {}
    void mouseButton(MouseButton, bool) override {}
    int downs() const { return downs_.load(); }
    Clock::time_point lastDown() const {
        return Clock::time_point(Clock::duration(lastDown_.load()));
    }

private:
    std::atomic<Clock::rep> lastDown_{0};
    std::atomic<int> downs_{0};
};

void reportPercentiles(benchmark::State& state, std::vector<double> micros) {
    if (micros.empty()) {
        return;
    }
    std::sort(micros.begin(), micros.end());
    const auto at = [&](double q) {
        return micros[std::min(micros.size() - 1, static_cast<std::size_t>(q * micros.size()))];
    };
    state.counters["median_us"] = at(0.5);
    state.counters["p99_us"] = at(0.99);
    state.counters["max_us"] = micros.back();
}

// Measures one press: send() writes the report; returns the microseconds until the key-down.
// between() runs after each press, outside the measured time.
template <typename Send, typename Between>
void measurePresses(benchmark::State& state, StampingInput& input, Send&& send, Between&& between) {
    std::vector<double> micros;
    for (auto _ : state) {
        const int before = input.downs();
        const auto start = Clock::now();
        send();
        while (input.downs() == before) {
            std::this_thread::yield();
        }
        const std::chrono::duration<double> elapsed = input.lastDown() - start;
        state.SetIterationTime(elapsed.count());
        micros.push_back(elapsed.count() * 1e6);
        between();
        // Past the reader's pause after the read, so the next press finds it reading.
        std::this_thread::sleep_for(std::chrono::milliseconds(3));
    }
    reportPercentiles(state, std::move(micros));
}

void BM_PressToKey_InMemoryBus(benchmark::State& state) {
    testing::ReaderRig<SystemClock, StampingInput> rig;
    rig.connect();
    rig.model.applied.setCode(1, 26);
    rig.reader.start();
    while (rig.bus.lastReader() == nullptr) {
        std::this_thread::yield();
    }
    const auto report = testing::pressReport(1);
    measurePresses(
        state, rig.input, [&] { rig.bus.lastReader()->push(report); }, [] {});
    rig.reader.stop();
}
BENCHMARK(BM_PressToKey_InMemoryBus)
    ->UseManualTime()
    ->Iterations(2000)
    ->Unit(benchmark::kMicrosecond);

void BM_PressToKey_VirtualMouse(benchmark::State& state) {
    const std::string socket = fakes::VirtualMouseProcess::socketPathFor("latency-bench");
    fakes::VirtualMouseProcess mouse(socket);
    if (!mouse.started()) {
        state.SkipWithError("veldran-virtual-mouse did not start");
        return;
    }
    VirtualHidBus bus(socket);
    DeviceLink link(bus);
    if (!link.discover()) {
        state.SkipWithError("the virtual mouse was not found");
        return;
    }
    ConfigModel model;
    MacroTable macros;
    ProfileStore store(testing::makeTempFolder() / "config.ini");
    fakes::FakeWindowPort window;
    DeviceProtocol protocol(link, model, store, window);
    StampingInput input;
    fakes::FakeShell shell;
    SystemClock clock;
    DeviceEventReader reader({link, protocol, model, macros, store, input, shell, clock, window});
    model.applied.setCode(1, 26);
    reader.start();
    // The virtual mouse takes the read connection on in its own time: presses are sent until
    // one comes through.
    for (int attempt = 0; input.downs() == 0 && attempt < 100; ++attempt) {
        mouse.command("press 1");
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (input.downs() == 0) {
        state.SkipWithError("no press came through from the virtual mouse");
        reader.stop();
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    // The virtual mouse remarks on each press; its output is drained so that it never blocks.
    measurePresses(
        state, input, [&] { mouse.command("press 1"); },
        [&] {
            while (mouse.nextLine(5)) {
            }
        });
    reader.stop();
    std::error_code ignored;
    std::filesystem::remove_all(store.path().parent_path(), ignored);
}
BENCHMARK(BM_PressToKey_VirtualMouse)
    ->UseManualTime()
    ->Iterations(2000)
    ->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace veldran

BENCHMARK_MAIN();
