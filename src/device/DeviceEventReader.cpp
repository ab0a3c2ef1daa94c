#include "device/DeviceEventReader.h"

#include "config/FunctionCode.h"
#include "config/MacroTable.h"
#include "config/ProfileStore.h"
#include "config/WindowPort.h"
#include "device/DeviceLink.h"
#include "device/DeviceProtocol.h"
#include "device/InputReport.h"
#include "platform/Clock.h"

#include <array>

namespace veldran {

DeviceEventReader::DeviceEventReader(Services services)
    : s_(services), player_(services.input, services.clock),
      functions_(services.input, services.shell, services.clock) {}

DeviceEventReader::~DeviceEventReader() {
    stop();
}

void DeviceEventReader::start() {
    std::lock_guard lock(threadMutex_);
    if (thread_.joinable() || stopping_.load()) {
        return;
    }
    thread_ = std::thread([this] { run(); });
}

void DeviceEventReader::stop() {
    std::lock_guard lock(threadMutex_);
    stopping_.store(true);
    s_.link.cancelReads();
    if (thread_.joinable()) {
        thread_.join();
    }
    player_.stopAll();
}

void DeviceEventReader::run() {
    std::array<std::uint8_t, kInputReportBufferSize> buffer{};
    while (!stopping_.load()) {
        // The link bounds the read by the buffer and by the interface's input report length;
        // without a mouse (not found yet, unplugged) the read fails at once.
        const int length = s_.link.readReport(buffer);
        if (length > 0 && !stopping_.load()) {
            handleReport(buffer.data(), length);
        }
        s_.clock.sleepFor(kReadPause);
    }
}

void DeviceEventReader::handleReport(const std::uint8_t* report, int length) {
    if (report == nullptr || length <= 0) {
        return;
    }
    const std::span<const std::uint8_t> bytes(report, static_cast<std::size_t>(length));
    const auto meaning = interpretInputReport(bytes, s_.model.runtime.armed.load());
    switch (meaning.kind) {
    case InputReportMeaning::Kind::Press:
        handlePress(meaning.slot);
        break;
    case InputReportMeaning::Kind::Rearm:
        s_.model.runtime.armed.store(true);
        s_.window.repaint();
        break;
    case InputReportMeaning::Kind::Nothing:
        break;
    }
}

void DeviceEventReader::handlePress(int slot) {
    const auto index = static_cast<std::size_t>(slot - 1);
    // The mouse's buttons act as the profile the mouse holds says.
    const std::int32_t action = s_.model.applied.dpiActions[index].load();
    if (action != static_cast<std::int32_t>(DpiAction::None)) {
        stepDpi(action);
        return;
    }
    const std::int32_t code = s_.model.applied.code(slot);
    if (playMacroFor(code) || programPressTooSoon(slot, code)) {
        return;
    }
    if (code == kNextProfileCode) {
        switchToNextProfile(slot);
        return;
    }
    functions_.run(code);
}

void DeviceEventReader::stepDpi(std::int32_t action) {
    // The window may set the level at the same moment; the step applies to the level it read.
    auto& level = s_.model.applied.dpiLevel;
    std::int32_t current = level.load();
    std::int32_t next = stepDpiLevel(current, static_cast<DpiAction>(action));
    while (!level.compare_exchange_weak(current, next)) {
        next = stepDpiLevel(current, static_cast<DpiAction>(action));
    }
    // While the window shows the profile the mouse holds, it shows the new stage too.
    if (s_.model.runtime.appliedProfile.load() == s_.model.runtime.curConfig.load()) {
        s_.model.profile.dpiLevel.store(next);
    }
    // The DPI step report repaints the window after sending; the level is not written to the
    // settings file.
    s_.protocol.sendDpiStep(next);
}

bool DeviceEventReader::playMacroFor(std::int32_t code) {
    const std::int32_t index = code - kFirstMacroCode;
    // The macro count comes from Macro.dat; records beyond the twelve macros are never played.
    if (index < 0 || index >= s_.macros.count() || index >= kMaxMacros) {
        return false;
    }
    // Playback uses a copy, so the macro editor may change the table meanwhile. The player
    // starts the macro, or stops it, or ignores the press, as its repeat mode says.
    player_.press(index, s_.macros.snapshot(index), s_.macros.repeat(index));
    return true;
}

bool DeviceEventReader::programPressTooSoon(int slot, std::int32_t code) {
    // The file manager, the session lock, the calculator and the terminal each start a program.
    if (code < 36 || code > 39) {
        return false;
    }
    auto& last = programStarts_[static_cast<std::size_t>(slot - 1)];
    const auto now = s_.clock.now();
    if (last && now - *last < kProgramInterval) {
        return true;
    }
    last = now;
    return false;
}

void DeviceEventReader::switchToNextProfile(int slot) {
    // The working profile and the files belong to the user-interface thread: the switch and the
    // Apply run there while this thread waits. Apply repaints the window and, since the pressed
    // slot keeps code 40 (a software function), leaves the executor disarmed.
    s_.window.runOnUiThread([this, slot] {
        if (profileCycle_) {
            profileCycle_(slot);
        }
    });
}

} // namespace veldran
