// A device event reader wired to fakes: an in-memory HID bus holding the mouse, a settings
// folder of its own, a recording window, input, shell and a clock that only moves when paused.
#pragma once

#include "config/MacroTable.h"
#include "config/ProfileStore.h"
#include "device/DeviceEventReader.h"
#include "device/DeviceLink.h"
#include "device/DeviceProtocol.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeHidBus.h"
#include "fakes/FakeInputSynth.h"
#include "fakes/FakeShell.h"
#include "fakes/FakeWindowPort.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace veldran::testing {

inline std::filesystem::path makeTempFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "veldran-reader-XXXXXX").string();
    const char* made = mkdtemp(pattern.data());
    return made != nullptr ? std::filesystem::path(made) : std::filesystem::path();
}

// The input report of a press of slot 1 to 7 (identifier + 240 in byte 1).
inline std::vector<std::uint8_t> pressReport(int slot) {
    return {
        0x05, static_cast<std::uint8_t>(kSlotIdentifiers[static_cast<std::size_t>(slot - 1)] + 240),
        0,    0,
        0,    0,
        0,    0};
}

inline std::vector<std::uint8_t> rearmReport() {
    return {6, 0, 0, 0, 0, 0, 0, 0};
}

// Waits (really) until done() holds or a generous limit passes; returns done().
inline bool waitFor(const std::function<bool()>& done,
                    std::chrono::seconds limit = std::chrono::seconds(60)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done() && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return done();
}

template <typename ClockType = fakes::FakeClock, typename InputType = fakes::FakeInputSynth>
struct ReaderRig {
    ReaderRig() { bus.interfaces = fakes::FakeHidBus::mouseInterfaces("/dev/hidraw", 8, 8); }
    ~ReaderRig() {
        reader.stop();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    // Finds the mouse and forgets the reports that discovery may have sent.
    void connect() {
        link.discover();
        bus.clearSent();
    }
    // A press, and then the end of the macros it started (instant on the fake clock).
    void press(int slot) {
        reader.handleReport(pressReport(slot).data(), 8);
        reader.macroPlayer().waitUntilIdle();
    }
    void send(const std::vector<std::uint8_t>& report) {
        reader.handleReport(report.data(), static_cast<int>(report.size()));
    }
    // Feature reports sent so far, first four bytes of each.
    std::vector<std::vector<std::uint8_t>> sentHeads() const {
        std::vector<std::vector<std::uint8_t>> heads;
        for (const auto& report : bus.sent()) {
            heads.emplace_back(report.bytes.begin(),
                               report.bytes.begin() +
                                   std::min<std::size_t>(4, report.bytes.size()));
        }
        return heads;
    }
    void setMacro(int index, const std::vector<MacroEvent>& events) {
        macros.edit([&](auto& records) {
            auto& record = records[static_cast<std::size_t>(index)];
            record.eventCount = static_cast<std::uint8_t>(events.size());
            for (std::size_t k = 0; k < events.size(); ++k) {
                record.setEvent(static_cast<int>(k), events[k]);
            }
        });
    }

    std::filesystem::path folder = makeTempFolder();
    fakes::FakeHidBus bus;
    DeviceLink link{bus};
    ConfigModel model;
    MacroTable macros;
    ProfileStore store{folder / "config.ini"};
    fakes::FakeWindowPort window;
    DeviceProtocol protocol{link, model, store, window};
    InputType input;
    fakes::FakeShell shell;
    ClockType clock;
    DeviceEventReader reader{{link, protocol, model, macros, store, input, shell, clock, window}};
};

} // namespace veldran::testing
