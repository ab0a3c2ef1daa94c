// The feature-report protocol: Apply (the whole working profile), Defaults (factory values and a
// reset of the mouse) and the DPI step report. Every report has report id 7; building and sending
// each one happens under one lock, so reports from the user-interface thread and the device
// event reader never mix their bytes.
#pragma once

#include "config/Profile.h"
#include "platform/HidBus.h"

#include <array>
#include <cstdint>
#include <mutex>
#include <optional>
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

    // The window's Apply of the working profile: armed; CurConfig and Save(6) to config.ini; a
    // stored code 19 becomes 12 in the working profile (with its message); the working profile
    // becomes the applied one; the seven button reports; the wheel report; codes in force; the
    // DPI report; a repaint. After the first report that the mouse does not answer in time, no
    // further report is sent (each would wait as long again) and runtime.mouseUnanswered is set
    // until the next Apply, which tries again. Returns why config.ini could not be written, ""
    // when it was (the reports go out either way).
    std::string apply();
    // Puts a stored profile on the mouse: it becomes the applied profile and is sent as Apply
    // sends, while the working profile and the files stay as they are.
    void applyProfile(const Profile& stored);
    // Sends the applied profile again (the mouse may have lost it in a suspend).
    void resendApplied();
    // Factory values into the working and the applied profile; a repaint; the DPI report for
    // level 0; the reset report. Writes nothing to config.ini.
    void defaults();
    // The DPI report for level of the applied profile (sent by the device event reader after a
    // DPI step), then a repaint.
    void sendDpiStep(std::int32_t level);
    // Asks the window for a repaint.
    void repaint();

private:
    // The DPI report for level (held to 0 to 3): the DPI value of that stage's code in force and
    // the light mode.
    FeatureSendResult sendDpiReport(std::int32_t level);
    FeatureSendResult send(const FeatureReport& report);
    // The reports of the applied profile, given each slot's device value.
    void sendApplied(const std::array<std::optional<std::uint8_t>, kDeviceSlotCount>& values);
    DeviceLink& link_;
    ConfigModel& model_;
    ProfileStore& store_;
    WindowPort& window_;
    std::mutex sendMutex_;
};

} // namespace veldran
