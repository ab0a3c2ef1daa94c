// The HID bus of the Linux kernel's hidraw nodes: libudev enumerates them and watches their
// arrival and removal; the identifiers (HID_ID) and the report descriptor come from sysfs, so
// listing opens no node; each top-level collection of a node is one entry. Reads block until a
// report of the reader's collection arrives or the reader is cancelled; feature reports go out
// with HIDIOCSFEATURE.
#pragma once

#include "platform/HidBus.h"

#include <mutex>
#include <string_view>
#include <vector>

struct udev;
struct udev_monitor;

namespace veldran {

class HidrawBus final : public HidBus {
public:
    HidrawBus();
    ~HidrawBus() override;
    HidrawBus(const HidrawBus&) = delete;
    HidrawBus& operator=(const HidrawBus&) = delete;

    // The hidraw nodes in the order of their numbers (hidraw0, hidraw1, ..., hidraw10), one
    // entry per top-level collection of each.
    std::vector<std::optional<HidInterfaceInfo>> enumerate() override;
    std::unique_ptr<HidReader> openForReading(const HidInterfaceInfo& interface) override;
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
// The identifiers of a HID device's uevent text (its HID_ID line); nothing without one.
std::optional<std::pair<std::uint16_t, std::uint16_t>> idsFromUevent(std::string_view uevent);
// The entries of one hidraw node, read from its HID device's sysfs folder (uevent and
// report_descriptor) without opening the node: one per top-level collection; one entry with the
// identifiers and usage 0 when the descriptor cannot be read (the node still counts as the
// device's); a gap when the identifiers cannot be read.
std::vector<std::optional<HidInterfaceInfo>> interfacesFromSysfs(const std::string& devnode,
                                                                 const std::string& hidFolder);
// A reader over an open descriptor (taken over) for the collection with these report ids
// (empty: the device numbers no reports): poll() on it and on a wake-up event, so that cancel()
// ends a blocked read.
std::unique_ptr<HidReader> readerFor(int fd, std::vector<std::uint8_t> reportIds);

} // namespace hidraw
} // namespace veldran
