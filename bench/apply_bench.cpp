// How long an Apply takes through the virtual mouse: nine feature reports, each answered by the
// veldran-virtual-mouse process over its socket, plus the one write of config.ini. Also the
// same Apply against an in-memory bus, to separate the protocol's own cost from the transport.
#include "config/FunctionCode.h"
#include "config/ProfileStore.h"
#include "device/DeviceLink.h"
#include "device/DeviceProtocol.h"
#include "fakes/FakeHidBus.h"
#include "fakes/FakeWindowPort.h"
#include "fakes/VirtualMouseProcess.h"
#include "platform/linux/VirtualHidBus.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <thread>

namespace veldran {
namespace {

// Drains the virtual mouse's output in the background so that its pipe never fills.
class OutputDrain {
public:
    explicit OutputDrain(fakes::VirtualMouseProcess& mouse)
        : thread_([&mouse, this] {
              while (!stop_.load()) {
                  mouse.nextLine(50);
              }
          }) {}
    ~OutputDrain() {
        stop_.store(true);
        thread_.join();
    }

private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

std::filesystem::path benchFolder() {
    const auto folder = std::filesystem::temp_directory_path() /
                        ("veldran-apply-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    return folder;
}

void runApply(benchmark::State& state, HidBus& bus) {
    DeviceLink link(bus);
    if (!link.discover()) {
        state.SkipWithError("the mouse was not found");
        return;
    }
    const auto folder = benchFolder();
    ConfigModel model;
    resetToFactory(model.profile);
    model.runtime.curConfig = 1;
    ProfileStore store(folder / "config.ini");
    fakes::FakeWindowPort window;
    DeviceProtocol protocol(link, model, store, window);
    for (auto _ : state) {
        protocol.apply();
    }
    state.SetItemsProcessed(state.iterations() * 9); // feature reports
    std::filesystem::remove_all(folder);
}

void BM_ApplyThroughVirtualMouse(benchmark::State& state) {
    const std::string socket = fakes::VirtualMouseProcess::socketPathFor("bench");
    fakes::VirtualMouseProcess mouse(socket);
    if (!mouse.started()) {
        state.SkipWithError("veldran-virtual-mouse did not start");
        return;
    }
    OutputDrain drain(mouse);
    VirtualHidBus bus(socket);
    runApply(state, bus);
}
BENCHMARK(BM_ApplyThroughVirtualMouse)->Unit(benchmark::kMicrosecond);

void BM_ApplyInMemory(benchmark::State& state) {
    fakes::FakeHidBus bus;
    bus.interfaces = fakes::FakeHidBus::mouseInterfaces("/dev/hidraw");
    runApply(state, bus);
}
BENCHMARK(BM_ApplyInMemory)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace veldran

BENCHMARK_MAIN();
