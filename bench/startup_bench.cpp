// Start-up time: from starting a program to the X server mapping its first top-level window.
// A small Xlib client selects SubstructureNotify on the root window, starts the program and
// waits for the first MapNotify of a child of the root. It alternates the driver (connected to a
// virtual mouse, from a private copy of its folder) and bare_qt_window (a plain Qt window of the
// same size, built beside it), so that both meet the same load, and prints both medians and their
// ratio. Needs an X server without a window manager (scripts/with-xvfb startup_bench).
//
//   startup_bench [--runs=N] [--driver=PATH]
//     N runs of each program (15 by default); the driver at PATH instead of the one built beside
//     the benchmark (another build of it, to compare).
#include "fakes/VirtualMouseProcess.h"

#include <X11/Xlib.h>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kDefaultRuns = 15;
constexpr int kMapTimeoutMs = 10000;
// The start-up Apply: seven button reports, the wheel and the DPI stage.
constexpr int kStartupReports = 9;

fs::path binFolder() {
    return fs::read_symlink("/proc/self/exe").parent_path();
}

// The driver with its skin and default settings in a folder of its own, so that its Apply
// writes there and not into the build's settings.
fs::path privateDriverFolder(const fs::path& bin, const fs::path& driver, const fs::path& source) {
    char pattern[] = "/tmp/veldran-startup-XXXXXX";
    const fs::path folder = mkdtemp(pattern);
    fs::copy_file(driver, folder / "veldran-driver");
    fs::copy(bin / "skins", folder / "skins", fs::copy_options::recursive);
    fs::copy_file(source / "config.ini", folder / "config.ini");
    fs::copy_file(source / "Macro.dat", folder / "Macro.dat");
    fs::create_directory(folder / "runtime");
    fs::permissions(folder / "runtime", fs::perms::owner_all);
    return folder;
}

// Drops the events the server has queued (the windows of the last run going away).
void drain(Display* display) {
    XSync(display, False);
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
    }
}

// Waits for the first MapNotify of a top-level window; false after the time-out.
bool waitForMap(Display* display, Window root) {
    const auto end = Clock::now() + std::chrono::milliseconds(kMapTimeoutMs);
    pollfd fd{ConnectionNumber(display), POLLIN, 0};
    while (Clock::now() < end) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && event.xmap.event == root) {
                return true;
            }
        }
        poll(&fd, 1, 50);
    }
    return false;
}

// Milliseconds from the start of argv to the map of its first window (negative on failure).
// afterMap runs once the window is there; the program is ended after it.
template <typename AfterMap>
double timeToMap(Display* display, Window root, std::vector<std::string> argv,
                 AfterMap&& afterMap) {
    std::vector<char*> cargv;
    for (std::string& a : argv) {
        cargv.push_back(a.data());
    }
    cargv.push_back(nullptr);
    drain(display);
    pid_t pid = -1;
    const auto start = Clock::now();
    if (posix_spawn(&pid, cargv[0], nullptr, nullptr, cargv.data(), environ) != 0) {
        return -1;
    }
    const bool mapped = waitForMap(display, root);
    const std::chrono::duration<double, std::milli> elapsed = Clock::now() - start;
    afterMap();
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    return mapped ? elapsed.count() : -1;
}

double median(std::vector<double> values) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Reads what the virtual mouse prints until it has printed count feature reports (or nothing
// more comes for a while); returns how many it printed.
int takeReports(veldran::fakes::VirtualMouseProcess& mouse, int count) {
    int reports = 0;
    while (reports < count) {
        const auto line = mouse.nextLine(2000);
        if (!line) {
            break;
        }
        reports += line->rfind("feature ", 0) == 0 ? 1 : 0;
    }
    return reports;
}

} // namespace

int main(int argc, char** argv) {
    const fs::path bin = binFolder();
    int runs = kDefaultRuns;
    fs::path driverProgram = bin / "veldran-driver";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--runs=", 0) == 0) {
            runs = std::max(1, std::atoi(arg.c_str() + 7));
        } else if (arg.rfind("--driver=", 0) == 0) {
            driverProgram = arg.substr(9);
        }
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::puts("startup_bench: needs an X server (run it as scripts/with-xvfb startup_bench)");
        return 0;
    }
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);

    const fs::path folder = privateDriverFolder(bin, driverProgram, VELDRAN_BENCH_RESOURCES);
    // The driver's single instance and the virtual mouse's socket in the private folder.
    setenv("XDG_RUNTIME_DIR", (folder / "runtime").c_str(), 1);
    setenv("VELDRAN_RUNTIME_DIR", (folder / "runtime").c_str(), 1);
    unsetenv("QT_QPA_PLATFORM");
    const std::string socket = (folder / "runtime" / "mouse.sock").string();
    veldran::fakes::VirtualMouseProcess mouse(socket);
    if (!mouse.started()) {
        std::puts("startup_bench: the virtual mouse did not start");
        return 1;
    }

    const std::vector<std::string> driver = {(folder / "veldran-driver").string(),
                                             "--virtual-mouse=" + socket};
    const std::vector<std::string> bare = {(bin / "bare_qt_window").string()};
    std::vector<double> driverMs;
    std::vector<double> bareMs;
    int reports = 0;
    for (int run = 0; run < runs; ++run) {
        // The driver is ended once its start-up Apply has reached the mouse.
        const double d = timeToMap(display, root, driver,
                                   [&] { reports += takeReports(mouse, kStartupReports); });
        const double b = timeToMap(display, root, bare, [] {});
        if (d < 0 || b < 0) {
            std::printf("startup_bench: run %d: a window did not appear\n", run + 1);
            return 1;
        }
        driverMs.push_back(d);
        bareMs.push_back(b);
    }
    const double driverMedian = median(driverMs);
    const double bareMedian = median(bareMs);
    std::printf("runs of each:              %d\n", runs);
    std::printf("driver, exec to map:       median %.1f ms (%.1f reports per start)\n",
                driverMedian, static_cast<double>(reports) / runs);
    std::printf("bare Qt window, exec to map: median %.1f ms\n", bareMedian);
    std::printf("ratio driver / bare:       %.2f\n", driverMedian / bareMedian);
    XCloseDisplay(display);
    fs::remove_all(folder);
    return 0;
}
