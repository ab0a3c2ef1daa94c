// The feature-report protocol: Apply (the whole working profile), Defaults (factory values and a
// reset of the mouse) and the DPI step report. Every report has report id 7; building and sending
// each one happens under one lock, so reports from the user-interface thread and the device
// event reader never mix their bytes.
#pragma once

#include "config/Profile.h"
#include "platform/HidBus.h"

#include <array>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

namespace veldran {

class DeviceLink;
class ProfileStore;
class WindowPort;

// Report commands (byte 1).
enum class ReportCommand : std::uint8_t { Dpi = 0x09, Button = 0x10, Wheel = 0x11, Reset = 0x20 };

// Bytes 0 to 3 of a feature report; the rest is zero up to the device's length.
struct FeatureReport {
    std::uint8_t reportId = 7;
    ReportCommand command = ReportCommand::Reset;
    std::uint8_t index = 0;
    std::uint8_t value = 0;
    std::array<std::uint8_t, 4> bytes() const {
        return {reportId, static_cast<std::uint8_t>(command), index, value};
    }
};

class DeviceProtocol {
public:
    DeviceProtocol(DeviceLink& link, ConfigModel& model, ProfileStore& store, WindowPort& window);

    // Armed; CurConfig and Save(6) to config.ini; the seven button reports; the wheel report;
    // codes in force; the DPI report; a repaint. After the first report that the mouse does not
    // answer in time, no further report is sent (each would wait as long again) and
    // runtime.mouseUnanswered is set until the next Apply, which tries again. Returns why the
    // settings did not reach config.ini ("" when they did); the message about it is shown all
    // the same.
    std::string apply();
    // Factory values into the working profile; a repaint; the DPI report for level 0; the reset
    // report. Writes nothing to config.ini.
    void defaults();
    // The profile-cycle button's switch: profile becomes CurConfig and the working profile, the
    // pressed slot keeps the cycle function (code 40, so the button goes on cycling), then Apply.
    std::string applyProfileFromButton(std::int32_t profile, int slot);
    // The DPI report for level (sent by the device event reader after a DPI step), then a repaint.
    void sendDpiStep(std::int32_t level);

    // Told at the end of every Apply with the profile number it wrote as CurConfig. Set once,
    // before the first Apply; Apply runs on the user-interface thread.
    void setAppliedListener(std::function<void(std::int32_t profile)> listener) {
        appliedListener_ = std::move(listener);
    }

private:
    // The DPI report for level (held to 0 to 3): the DPI value of that stage's code in force and
    // the light mode.
    FeatureSendResult sendDpiReport(std::int32_t level);
    FeatureSendResult send(const FeatureReport& report);
    DeviceLink& link_;
    ConfigModel& model_;
    ProfileStore& store_;
    WindowPort& window_;
    std::mutex sendMutex_;
    std::function<void(std::int32_t)> appliedListener_;
};

} // namespace veldran
