// The HID bus of the Linux kernel's hidraw nodes: libudev enumerates them and watches their
// arrival and removal; the identifiers and report descriptor come from the node's ioctls (or,
// for a node that this user may not open, from sysfs); reads block until a report arrives or the
// reader is cancelled; feature reports go out with HIDIOCSFEATURE.
#pragma once

#include "platform/HidBus.h"

#include <mutex>
#include <string_view>

struct udev;
struct udev_monitor;

namespace veldran {

class HidrawBus final : public HidBus {
public:
    HidrawBus();
    ~HidrawBus() override;
    HidrawBus(const HidrawBus&) = delete;
    HidrawBus& operator=(const HidrawBus&) = delete;

    // The hidraw nodes in the order of their numbers (hidraw0, hidraw1, ..., hidraw10).
    std::vector<std::optional<HidInterfaceInfo>> enumerate() override;
    std::unique_ptr<HidReader> openForReading(const std::string& path) override;
    std::unique_ptr<HidFeatureWriter> openForWriting(const std::string& path) override;
    // The udev monitor's socket (-1 when udev could not be reached).
    int noticeDescriptor() override;
    std::vector<HidNotice> takeNotices() override;

private:
    std::mutex mutex_;
    udev* udev_ = nullptr;
    udev_monitor* monitor_ = nullptr;
};

namespace hidraw {

// Vendor and product from a HID_ID property such as "0003:000018F8:00000F99".
std::optional<std::pair<std::uint16_t, std::uint16_t>> parseHidId(std::string_view hidId);
// The number of a hidraw node ("/dev/hidraw12" -> 12); nothing for another name.
std::optional<unsigned> nodeNumber(std::string_view devnode);
// The notice for a udev event of a hidraw node ("add"/"remove"); nothing for other actions.
std::optional<HidNotice> noticeFor(std::string_view action, std::string_view devnode);
// What discovery needs, from identifiers and a report descriptor (usage 0 and lengths 0 when
// the descriptor cannot be read, so the interface still counts as the device's).
HidInterfaceInfo interfaceInfo(const std::string& path, std::uint16_t vendorId,
                               std::uint16_t productId, std::span<const std::uint8_t> descriptor);
// A reader over an open descriptor (taken over): poll() on it and on a wake-up event, so that
// cancel() ends a blocked read.
std::unique_ptr<HidReader> readerFor(int fd);

} // namespace hidraw
} // namespace veldran
