// Time from the start of `veldran-driver --profile N` to the last of the nine feature reports of
// the Apply at the virtual mouse: a new process, its request over the single-instance socket,
// the running driver's switch and Apply. Profiles 2 and 3 take turns, so that every request
// switches. Needs an X server for the running driver: run it under scripts/with-xvfb.
#include "fakes/VirtualMouseProcess.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace veldran {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

pid_t spawn(const std::string& program, std::vector<std::string> args) {
    args.insert(args.begin(), program);
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    pid_t pid = -1;
    return posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) == 0 ? pid
                                                                                           : -1;
}

// Reads the mouse's lines until count feature reports have come; false when they do not.
bool awaitFeatures(fakes::VirtualMouseProcess& mouse, int count) {
    while (count > 0) {
        const auto line = mouse.nextDataLine(10000);
        if (!line) {
            return false;
        }
        count -= line->rfind("feature ", 0) == 0 ? 1 : 0;
    }
    return true;
}

// A copy of the driver beside the default settings and the skin, in a folder of its own, with
// its own runtime folder (so its single instance is its own).
fs::path prepareFolder() {
    const fs::path bin = fs::path(fakes::VirtualMouseProcess::programPath()).parent_path();
    const fs::path app =
        fs::temp_directory_path() / ("veldran-switch-bench-" + std::to_string(::getpid()));
    fs::remove_all(app);
    fs::create_directories(app / "runtime");
    fs::permissions(app / "runtime", fs::perms::owner_all);
    for (const char* name : {"veldran-driver", "config.ini", "Macro.dat"}) {
        fs::copy(bin / name, app / name);
    }
    fs::copy(bin / "skins", app / "skins", fs::copy_options::recursive);
    setenv("XDG_RUNTIME_DIR", (app / "runtime").c_str(), 1);
    setenv("VELDRAN_RUNTIME_DIR", (app / "runtime").c_str(), 1);
    return app;
}

void BM_ProfileSwitchFromTheCommandLine(benchmark::State& state) {
    if (std::getenv("DISPLAY") == nullptr) {
        state.SkipWithError("needs an X server: run under scripts/with-xvfb");
        return;
    }
    const fs::path app = prepareFolder();
    const std::string socket = (app / "runtime" / "mouse.sock").string();
    const std::string driverProgram = (app / "veldran-driver").string();
    fakes::VirtualMouseProcess mouse(socket);
    const pid_t driver = mouse.started() ? spawn(driverProgram, {"--virtual-mouse=" + socket}) : -1;
    // The start-up Apply tells that the driver is up.
    if (driver < 0 || !awaitFeatures(mouse, 9)) {
        state.SkipWithError("the driver or the virtual mouse did not start");
    } else {
        std::vector<double> millis;
        int profile = 2;
        for (auto _ : state) {
            const auto start = Clock::now();
            const pid_t client = spawn(driverProgram, {"--profile", std::to_string(profile)});
            const bool arrived = awaitFeatures(mouse, 9);
            const std::chrono::duration<double> elapsed = Clock::now() - start;
            int status = 0;
            waitpid(client, &status, 0);
            if (!arrived || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
                state.SkipWithError("a switch did not reach the mouse");
                break;
            }
            state.SetIterationTime(elapsed.count());
            millis.push_back(elapsed.count() * 1e3);
            profile = profile == 2 ? 3 : 2;
        }
        if (!millis.empty()) {
            std::sort(millis.begin(), millis.end());
            const auto at = [&](double q) {
                return millis[std::min(millis.size() - 1,
                                       static_cast<std::size_t>(q * millis.size()))];
            };
            state.counters["median_ms"] = at(0.5);
            state.counters["p99_ms"] = at(0.99);
            state.counters["max_ms"] = millis.back();
        }
    }
    if (driver > 0) {
        kill(driver, SIGTERM);
        waitpid(driver, nullptr, 0);
    }
    std::error_code ignored;
    fs::remove_all(app, ignored);
}
BENCHMARK(BM_ProfileSwitchFromTheCommandLine)
    ->UseManualTime()
    ->Iterations(300)
    ->Unit(benchmark::kMillisecond);

} // namespace
} // namespace veldran

BENCHMARK_MAIN();
