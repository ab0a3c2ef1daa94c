// How soon the mouse follows the program in front: from the moment the focus has rested for
// 150 ms to the last of the nine feature reports at the virtual mouse. The window manager's part
// is played by changing the root's _NET_ACTIVE_WINDOW, between a window whose program has a rule
// and no window at all (back to the user's profile). Runs under an X server (scripts/with-xvfb);
// the percentiles are reported as counters.
#include "config/FunctionCode.h"
#include "config/Profile.h"
#include "config/ProfileStore.h"
#include "control/ProfileController.h"
#include "control/ProgramRuleSwitcher.h"
#include "device/DeviceLink.h"
#include "device/DeviceProtocol.h"
#include "fakes/FakeWindowPort.h"
#include "fakes/VirtualMouseProcess.h"
#include "platform/linux/VirtualHidBus.h"
#include "platform/linux/X11ActiveWindow.h"

#include <QCoreApplication>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <unistd.h>

namespace veldran {
namespace {

using Clock = std::chrono::steady_clock;

void BM_FocusRestToLastReport(benchmark::State& state) {
    Display* display = std::getenv("DISPLAY") != nullptr ? XOpenDisplay(nullptr) : nullptr;
    if (display == nullptr) {
        state.SkipWithError("needs an X server (run under scripts/with-xvfb)");
        return;
    }
    int argc = 1;
    char name[] = "program_rule_switch_bench";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);

    const std::string socket = fakes::VirtualMouseProcess::socketPathFor("rule-bench");
    fakes::VirtualMouseProcess mouse(socket);
    VirtualHidBus bus(socket);
    DeviceLink link(bus);
    if (!mouse.started() || !link.discover()) {
        state.SkipWithError("the virtual mouse did not start");
        XCloseDisplay(display);
        return;
    }
    std::atomic<bool> draining{true};
    std::thread drain([&] {
        while (draining.load()) {
            mouse.nextLine(50);
        }
    });
    const auto folder = std::filesystem::temp_directory_path() /
                        ("veldran-rule-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    ConfigModel model;
    resetToFactory(model.profile);
    ProfileStore store(folder / "config.ini");
    for (int n = 1; n <= 2; ++n) {
        model.profile.dpiLevel = n; // two profiles that differ
        store.save(n, model.profile);
    }
    model.runtime.curConfig = 1;
    store.load(1, model.profile);
    fakes::FakeWindowPort window;
    DeviceProtocol protocol(link, model, store, window);
    ProfileController switcher(model, store, protocol, link);
    switcher.startUp(); // the start-up Apply
    // Told once the switch's Apply, and so its last feature report, is done.
    Clock::time_point applied;
    int switches = 0;
    switcher.addSwitchListener([&](int, SwitchCause) {
        applied = Clock::now();
        ++switches;
    });

    // A window of this process: its rule is found through the executable's name.
    const Window own =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 50, 50, 0, 0, 0);
    const Atom active = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
    ProgramRuleSwitcher rules(switcher);
    rules.setRules({true, true, {{executableNameOf(::getpid()), 2}}});
    X11ActiveWindow watcher([&rules](const WindowProgram& p) { rules.focusChanged(p); });

    std::vector<double> samples;
    bool toRule = true;
    for (auto _ : state) {
        const unsigned long value = toRule ? own : 0;
        toRule = !toRule;
        const int before = switches;
        const Clock::time_point changed = Clock::now();
        XChangeProperty(display, DefaultRootWindow(display), active, XA_WINDOW, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&value), 1);
        XFlush(display);
        while (switches == before) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        const double ms =
            std::chrono::duration<double, std::milli>(applied - changed - kFocusRest).count();
        samples.push_back(ms);
        state.SetIterationTime(ms / 1000.0);
    }
    std::sort(samples.begin(), samples.end());
    if (!samples.empty()) {
        const auto at = [&samples](double q) {
            return samples[std::min(
                samples.size() - 1,
                static_cast<std::size_t>(q * static_cast<double>(samples.size())))];
        };
        state.counters["p50_ms"] = at(0.50);
        state.counters["p99_ms"] = at(0.99);
    }
    draining.store(false);
    drain.join();
    XDestroyWindow(display, own);
    XCloseDisplay(display);
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_FocusRestToLastReport)
    ->UseManualTime()
    ->Iterations(200)
    ->Unit(benchmark::kMillisecond);

} // namespace
} // namespace veldran

BENCHMARK_MAIN();
