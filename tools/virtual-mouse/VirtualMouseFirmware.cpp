#include "VirtualMouseFirmware.h"

#include "formats/VirtualMouseProtocol.h"

namespace veldran::virtualmouse {
namespace {

constexpr std::uint8_t kFeatureReportId = 7;
constexpr std::uint8_t kDpi = 0x09;
constexpr std::uint8_t kButton = 0x10;
constexpr std::uint8_t kWheel = 0x11;
constexpr std::uint8_t kReset = 0x20;
// The device value of a button whose presses are reported to the driver.
constexpr std::uint8_t kSoftwareButton = 31;

} // namespace

VirtualMouseFirmware::VirtualMouseFirmware() {
    reset();
}

void VirtualMouseFirmware::reset() {
    // Out of the box every button performs the mouse's function of its own number.
    buttons_ = {{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 6}, {9, 9}};
    wheelMode_ = 0;
    dpiLevel_ = 0;
    dpiValue_ = 0x90;
    rearmPending_ = false;
}

bool VirtualMouseFirmware::pressRearms(std::uint8_t identifier) {
    if (!rearmPending_ || deviceValue(identifier) != kSoftwareButton) {
        return false;
    }
    rearmPending_ = false;
    return true;
}

void VirtualMouseFirmware::rearmSent() {
    rearmPending_ = false;
}

std::string VirtualMouseFirmware::receiveFeature(std::span<const std::uint8_t> report) {
    if (report.size() < 4) {
        return "report shorter than 4 bytes";
    }
    if (report[0] != kFeatureReportId) {
        return "unknown report id " + hexBytes(report.first(1));
    }
    const std::uint8_t index = report[2];
    const std::uint8_t value = report[3];
    switch (report[1]) {
    case kButton: {
        const auto button = buttons_.find(index);
        if (button == buttons_.end()) {
            return "no button with identifier " + std::to_string(index);
        }
        button->second = value;
        // The driver now waits for the re-arming report before it acts on presses.
        if (value == kSoftwareButton) {
            rearmPending_ = true;
        }
        return {};
    }
    case kWheel:
        wheelMode_ = index;
        return {};
    case kDpi:
        dpiLevel_ = index;
        dpiValue_ = value;
        return {};
    case kReset:
        reset();
        return {};
    default:
        return "unknown command " + hexBytes(report.subspan(1, 1));
    }
}

std::string VirtualMouseFirmware::stateLine() const {
    std::string line = "state buttons";
    for (const auto& [identifier, value] : buttons_) {
        const std::uint8_t byte[] = {value};
        line += " " + std::to_string(identifier) + "=" + hexBytes(byte);
    }
    const std::uint8_t dpiValue[] = {dpiValue_};
    line += " wheel " + std::to_string(wheelMode_) + " dpi-level " + std::to_string(dpiLevel_) +
            " dpi-value " + hexBytes(dpiValue);
    return line;
}

int VirtualMouseFirmware::deviceValue(std::uint8_t identifier) const {
    const auto button = buttons_.find(identifier);
    return button == buttons_.end() ? -1 : button->second;
}

} // namespace veldran::virtualmouse
