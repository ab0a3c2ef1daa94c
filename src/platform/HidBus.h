// The HID bus: enumeration of the HID interfaces present on the machine, opening one of them for
// blocking input-report reads or for feature reports, and arrival/removal notices by path.
// Adapters: HidrawBus (Linux hidraw + udev), VirtualHidBus (veldran-virtual-mouse), test fakes.
#pragma once

#include "formats/HidInterfaceInfo.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace veldran {

// An interface opened for reading input reports. read() blocks until a report of its collection
// arrives: reports of the node's other collections are passed over, and on a device without
// report ids each report gets a 0 in front, so that byte 0 is always the report id.
class HidReader {
public:
    virtual ~HidReader() = default;
    // Reads one input report into buffer; returns the number of bytes read, or -1 when the read
    // failed, the device is gone or cancel() was called.
    virtual int read(std::span<std::uint8_t> buffer) = 0;
    // Whether a report has arrived that read() has not taken yet (a report of another collection
    // of the node may count too). Never waits.
    virtual bool reportWaiting() = 0;
    // Wakes a read() blocked in another thread (it then returns -1) and makes every later read()
    // fail at once. Safe to call from any thread.
    virtual void cancel() = 0;
};

// What became of a feature report: sent, refused or failed, or not answered in time (the device
// has stopped answering; each further report would wait as long again).
enum class FeatureSendResult { Sent, Failed, Unanswered };

// An interface opened for sending feature reports.
class HidFeatureWriter {
public:
    virtual ~HidFeatureWriter() = default;
    // Sends one feature report (byte 0 is the report id).
    virtual FeatureSendResult sendFeature(std::span<const std::uint8_t> report) = 0;
};

// A device-interface notice from the bus.
struct HidNotice {
    enum class Event { Arrival, Removal };
    // Device types of a notice; only DeviceInterface notices carry an interface path.
    static constexpr int DeviceInterface = 5;
    Event event = Event::Arrival;
    int deviceType = DeviceInterface;
    std::string path;
};

class HidBus {
public:
    virtual ~HidBus() = default;

    // One entry per list position of the present HID interfaces (top-level collections), in the
    // bus's order. An entry without a value is a position that could not be read (a gap).
    virtual std::vector<std::optional<HidInterfaceInfo>> enumerate() = 0;

    // Opens the collection of an enumerated entry for blocking reads, shared with other openers.
    // nullptr when it fails.
    virtual std::unique_ptr<HidReader> openForReading(const HidInterfaceInfo& interface) = 0;
    // Opens an interface for feature reports, shared with other openers. nullptr when it fails.
    virtual std::unique_ptr<HidFeatureWriter> openForWriting(const std::string& path) = 0;

    // Notices. The bus signals pending notices on a file descriptor that the user-interface
    // event loop watches (-1 when the bus has none); takeNotices() then returns them in order.
    virtual int noticeDescriptor() = 0;
    virtual std::vector<HidNotice> takeNotices() = 0;
};

} // namespace veldran
