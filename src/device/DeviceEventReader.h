// The device event reader: a worker thread that reads the mouse's input reports and carries out
// the software function of each pressed button (DPI steps, macros, shortcuts, programs, locking,
// the next profile), and re-arms on the mouse's re-arming report.
#pragma once

#include "config/Profile.h"
#include "device/MacroPlayer.h"
#include "device/SoftwareFunctions.h"

#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
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

    // Starts the thread (once). It copes with no mouse and no settings yet: failed reads are
    // retried every 2 ms.
    void start();
    // Wakes the thread from its read, stops it and joins it, then stops the macros that play
    // and waits until they have released their keys. The thread may be waiting in
    // WindowPort::runOnUiThread (next profile): the window port must not leave that call waiting
    // once the end of the program is pending.
    void stop();

    // The macros started by the mouse's buttons play here, each on a thread of its own; the
    // reader never waits for them.
    MacroPlayer& macroPlayer() { return player_; }

    // What a press of a next-profile button (code 40) does on the user-interface thread, given
    // the pressed slot: the profile controller's switch. Set before start(); without it such a
    // press does nothing.
    using ProfileCycle = std::function<void(int slot)>;
    void setProfileCycle(ProfileCycle cycle) { profileCycle_ = std::move(cycle); }

    // Handles one input report as the main loop does (exposed for tests and benchmarks).
    void handleReport(const std::uint8_t* report, int length);

    // Pause after every read, successful or not.
    static constexpr std::chrono::milliseconds kReadPause{2};
    // A button set to a program starts it at most once in this time; further presses are dropped.
    static constexpr std::chrono::milliseconds kProgramInterval{500};

private:
    void run();
    void handlePress(int slot);
    void stepDpi(std::int32_t action);
    bool playMacroFor(std::int32_t code);
    bool programPressTooSoon(int slot, std::int32_t code);
    void switchToNextProfile(int slot);

    Services s_;
    MacroPlayer player_;
    SoftwareFunctions functions_;
    std::atomic<bool> stopping_{false};
    // Reader thread only. When each slot last started a program.
    std::array<std::optional<std::chrono::steady_clock::time_point>, kSlotCount> programStarts_{};
    std::mutex threadMutex_; // guards thread_ between start() and stop()
    std::thread thread_;
    ProfileCycle profileCycle_;
};

} // namespace veldran
