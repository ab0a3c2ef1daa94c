// Recording keys typed on the X display: keys are typed with XTest at known intervals while a
// recording runs, and each recorded pause is compared with the interval at which its two keys
// really left the typing client. Reported: the error of the recorded pauses (median, p99) and
// the time the capture path takes per key, from the key leaving the typing client to the
// recording step on the user-interface thread (X server, RECORD, capture thread, posted
// message). Needs an X server with RECORD: run it under scripts/with-xvfb. A second benchmark
// measures the recording step alone.
#include "config/MacroTable.h"
#include "fakes/FakeClock.h"
#include "macro/MacroRecorder.h"
#include "platform/linux/X11RecordKeyboardHook.h"
#include "platform/linux/XTestInputSynth.h"

#include <QCoreApplication>
#include <X11/Xlib.h>
#include <algorithm>
#include <atomic>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <thread>
#include <vector>

// Last: Xlib's macros (Bool, Status) must not come before the Qt headers.
#include "support/FocusedXWindow.h"

namespace veldran {
namespace {

using Steady = std::chrono::steady_clock;

double percentile(std::vector<double> values, double q) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<std::size_t>(q * values.size()))];
}

double millisecondsBetween(Steady::time_point a, Steady::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

// Another X client with the keyboard focus, which the keys are typed into (the server hands the
// recorded keys on as it delivers the keys to their client).
class FocusedClient {
public:
    FocusedClient() : display_(XOpenDisplay(nullptr)) {
        if (display_ == nullptr) {
            return;
        }
        window_ = veldran::testing::mapFocusedWindow(display_, 0, 0);
    }
    ~FocusedClient() {
        if (display_ != nullptr) {
            XDestroyWindow(display_, window_);
            XCloseDisplay(display_);
        }
    }
    void drain() {
        while (display_ != nullptr && XPending(display_) > 0) {
            XEvent event;
            XNextEvent(display_, &event);
        }
    }

private:
    Display* display_;
    Window window_ = 0;
};

void BM_RecordedPauses_XRecord(benchmark::State& state) {
    if (std::getenv("DISPLAY") == nullptr) {
        state.SkipWithError("needs an X display: run under scripts/with-xvfb");
        return;
    }
    MacroTable table;
    table.setCount(1);
    MacroEditorState editor;
    SystemClock clock;
    X11RecordKeyboardHook hook;
    // The recorder does not install the capture itself here, so that each key's arrival can be
    // stamped on its way into the recording step.
    MacroRecorder recorder(table, editor, clock, nullptr);
    std::vector<Steady::time_point> arrived;
    FocusedClient client;
    XTestInputSynth input;
    if (!input.available()) {
        state.SkipWithError("no XTEST on this display");
        return;
    }

    // Intervals between consecutive keys, milliseconds: short and long ones, cycled.
    const int intervals[] = {3, 7, 12, 20, 35, 50, 5, 16};
    constexpr int kKeys = kMaxRecordedEvents;
    std::vector<double> pauseErrors;
    std::vector<double> pathMicros;

    for (auto _ : state) {
        recorder.toggle(0, "Bench");
        if (!hook.start([&](const KeyMessage& m) {
                arrived.push_back(Steady::now());
                recorder.recordKey(m);
            })) {
            state.SkipWithError("the X server has no RECORD extension");
            return;
        }
        arrived.clear();
        std::vector<Steady::time_point> sent(kKeys);
        std::atomic<bool> typed{false};
        std::thread typist([&] {
            auto next = Steady::now() + std::chrono::milliseconds(20);
            for (int i = 0; i < kKeys; ++i) {
                std::this_thread::sleep_until(next);
                const auto code = static_cast<std::uint8_t>(0x41 + (i / 2) % 26);
                if (i % 2 == 0) {
                    input.keyDown(code, 0);
                } else {
                    input.keyUp(code, 0);
                }
                sent[static_cast<std::size_t>(i)] = Steady::now();
                next += std::chrono::milliseconds(intervals[i % std::size(intervals)]);
            }
            typed = true;
        });
        const auto deadline = Steady::now() + std::chrono::seconds(10);
        while ((!typed || recorder.recordedCount() < kKeys) && Steady::now() < deadline) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        }
        typist.join();
        client.drain();
        hook.stop();
        recorder.toggle(0, "Bench");

        const MacroRecord record = table.snapshot(0);
        if (record.eventCount != kKeys || arrived.size() != static_cast<std::size_t>(kKeys)) {
            state.SkipWithError("not every typed key was recorded");
            return;
        }
        double iterationSeconds = 0;
        for (int k = 0; k < kKeys; ++k) {
            const auto i = static_cast<std::size_t>(k);
            const double micros = millisecondsBetween(sent[i], arrived[i]) * 1000.0;
            pathMicros.push_back(micros);
            iterationSeconds += micros / 1e6;
            if (k + 1 < kKeys) {
                const double typedGap = millisecondsBetween(sent[i], sent[i + 1]);
                pauseErrors.push_back(std::abs(record.event(k).pause - typedGap));
            }
        }
        state.SetIterationTime(iterationSeconds / kKeys);
    }
    state.counters["pause_err_median_ms"] = percentile(pauseErrors, 0.5);
    state.counters["pause_err_p99_ms"] = percentile(pauseErrors, 0.99);
    state.counters["pause_err_max_ms"] = percentile(pauseErrors, 1.0);
    state.counters["path_median_us"] = percentile(pathMicros, 0.5);
    state.counters["path_p99_us"] = percentile(pathMicros, 0.99);
    state.counters["pauses"] = static_cast<double>(pauseErrors.size());
}
BENCHMARK(BM_RecordedPauses_XRecord)
    ->UseManualTime()
    ->Iterations(25)
    ->Unit(benchmark::kMicrosecond);

// The recording step alone for one key message: the last-pair and modifier rules, the pause
// and the record edit under the macro table's lock.
void BM_RecordingStep(benchmark::State& state) {
    MacroTable table;
    MacroEditorState editor;
    fakes::FakeClock clock;
    MacroRecorder recorder(table, editor, clock, nullptr);
    recorder.toggle(0, "Step");
    std::uint32_t i = 0;
    for (auto _ : state) {
        if (recorder.recordedCount() == kMaxRecordedEvents) {
            recorder.toggle(0, "Step");
            recorder.toggle(0, "Step");
        }
        const KeyMessage message{(i & 1) != 0 ? WM_KEYUP : WM_KEYDOWN, 0x41 + (i / 2) % 26};
        benchmark::DoNotOptimize(recorder.recordKey(message));
        ++i;
    }
}
BENCHMARK(BM_RecordingStep);

} // namespace
} // namespace veldran

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
