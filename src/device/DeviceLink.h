// The link to the mouse: discovery of its two vendor interfaces (top-level collections) among the
// HID interfaces present, the read handle (input reports), the write handle (feature reports),
// and arrival and removal notices for the mouse's path. Both collections may sit on one device
// node; it is then opened once for reading and once for writing.
#pragma once

#include "platform/HidBus.h"

#include <cstdint>
#include <span>
#include <string>

namespace veldran {

inline constexpr std::uint16_t kMouseVendorId = 0x18F8;
inline constexpr std::uint16_t kMouseProductId = 0x0F99;
inline constexpr std::uint16_t kInputUsagePage = 0xFF00;   // usage 1: input reports
inline constexpr std::uint16_t kFeatureUsagePage = 0xFF01; // usage 1: feature reports

class DeviceLink {
public:
    explicit DeviceLink(HidBus& bus);
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // Walks the HID interfaces (user-interface thread) and opens the mouse's two vendor
    // interfaces. Returns whether the mouse was found.
    bool discover();

    enum class NoticeResult { Ignored, Rediscovered, Removed };
    // The device-change handler (user-interface thread). Removed: the mouse at the device path
    // went away; the caller removes the tray icon and destroys the main window.
    NoticeResult onDeviceChange(const HidNotice& notice);

    bool connected() const;
    std::string devicePath() const;
    // A clear description of a mouse that is present but not usable (an interface missing, a
    // report length outside 4 to 256 bytes); empty when there is nothing to report.
    std::string problem() const;

    // Reader thread: blocks for one input report (at most buffer.size() bytes, bounded by the
    // input report length). -1 when there is no read handle, the read failed or reads were
    // cancelled.
    int readReport(std::span<std::uint8_t> buffer);
    // Reader thread: whether a report has arrived that readReport() has not taken yet. Never waits.
    bool reportWaiting();
    // Wakes a blocked readReport() and makes later ones fail at once (shutdown).
    void cancelReads();

    // Sends one feature report of the write interface's length (bytes beyond report.size() are
    // zero). Failed when there is no write handle.
    FeatureSendResult sendFeature(std::span<const std::uint8_t> report);
    int featureReportLength() const;
    int inputReportLength() const;

private:
    struct State;
    HidBus& bus_;
    State* state_;
};

} // namespace veldran
