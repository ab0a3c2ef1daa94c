// The device event reader: a worker thread that reads the mouse's input reports and carries out
// the software function of each pressed button (DPI steps, macros, shortcuts, programs, locking,
// the next profile), and re-arms on the mouse's re-arming report.
#pragma once

#include "config/Profile.h"

#include <atomic>
#include <thread>

namespace veldran {

class Clock;
class DeviceLink;
class DeviceProtocol;
class InputSynth;
class MacroTable;
class ProfileStore;
class Shell;
class WindowPort;

class DeviceEventReader {
public:
    struct Services {
        DeviceLink& link;
        DeviceProtocol& protocol;
        ConfigModel& model;
        MacroTable& macros;
        ProfileStore& store;
        InputSynth& input;
        Shell& shell;
        Clock& clock;
        WindowPort& window;
    };

    explicit DeviceEventReader(Services services);
    ~DeviceEventReader(); // stops and joins
    DeviceEventReader(const DeviceEventReader&) = delete;
    DeviceEventReader& operator=(const DeviceEventReader&) = delete;

    void start();
    // Wakes the thread from its read, stops it and joins it.
    void stop();

    // Handles one input report as the main loop does (exposed for tests and benchmarks).
    void handleReport(const std::uint8_t* report, int length);

private:
    void run();
    Services s_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

} // namespace veldran
