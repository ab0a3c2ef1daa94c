#include "platform/linux/HidrawBus.h"

#include "formats/HidInterfaces.h"
#include "formats/HidReportFilter.h"
#include "platform/linux/CancelSignal.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <libudev.h>
#include <linux/hidraw.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace veldran {
namespace hidraw {
namespace {

// Largest report HIDIOCSFEATURE can carry (the ioctl's size field).
constexpr std::size_t kMaxIoctlLength = (1u << 14) - 1;
constexpr std::size_t kMaxDescriptorSize = 4096;

std::optional<std::uint32_t> hexField(std::string_view text) {
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        value > 0xFFFFu) {
        return std::nullopt;
    }
    return value;
}

class HidrawReader final : public HidReader {
public:
    HidrawReader(int fd, std::vector<std::uint8_t> reportIds)
        : fd_(fd), reportIds_(std::move(reportIds)) {}
    ~HidrawReader() override { close(fd_); }
    HidrawReader(const HidrawReader&) = delete;
    HidrawReader& operator=(const HidrawReader&) = delete;

    int read(std::span<std::uint8_t> buffer) override {
        if (buffer.size() < 2) {
            return -1; // no room for an id byte and an event byte
        }
        // Room for the longest report the caller takes: a numbered report keeps its id byte, an
        // unnumbered one gets a 0 in front, so one byte less of it fits.
        raw_.resize(reportIds_.empty() ? buffer.size() - 1 : buffer.size());
        while (!cancel_.cancelled() && cancel_.fd() >= 0) {
            std::array<pollfd, 2> fds{{{fd_, POLLIN, 0}, {cancel_.fd(), POLLIN, 0}}};
            if (poll(fds.data(), fds.size(), -1) < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return -1;
            }
            if (fds[1].revents != 0) {
                return -1; // cancelled
            }
            if ((fds[0].revents & POLLIN) != 0) {
                // The node hands over one report per read, cut to the room given.
                const ssize_t n = ::read(fd_, raw_.data(), raw_.size());
                if (n > 0) {
                    const std::size_t kept = filterCollectionReport(
                        reportIds_, std::span(raw_).first(static_cast<std::size_t>(n)), buffer);
                    if (kept > 0) {
                        return static_cast<int>(kept);
                    }
                    continue; // a report of another collection of the node
                }
                if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
                    continue;
                }
                return -1;
            }
            if (fds[0].revents != 0) {
                return -1; // the device is gone (error or hang-up)
            }
        }
        return -1;
    }

    bool reportWaiting() override {
        pollfd p{fd_, POLLIN, 0};
        return poll(&p, 1, 0) == 1 && (p.revents & POLLIN) != 0;
    }

    void cancel() override { cancel_.cancel(); }

private:
    int fd_;
    std::vector<std::uint8_t> reportIds_; // empty: the device numbers no reports
    std::vector<std::uint8_t> raw_;       // used by the reading thread only
    CancelSignal cancel_;
};

class HidrawWriter final : public HidFeatureWriter {
public:
    explicit HidrawWriter(int fd) : fd_(fd) {}
    ~HidrawWriter() override { close(fd_); }
    HidrawWriter(const HidrawWriter&) = delete;
    HidrawWriter& operator=(const HidrawWriter&) = delete;

    FeatureSendResult sendFeature(std::span<const std::uint8_t> report) override {
        if (report.empty() || report.size() > kMaxIoctlLength) {
            return FeatureSendResult::Failed;
        }
        std::vector<std::uint8_t> bytes(report.begin(), report.end());
        if (ioctl(fd_, HIDIOCSFEATURE(bytes.size()), bytes.data()) >= 0) {
            return FeatureSendResult::Sent;
        }
        // The USB control transfer ran out of time: the mouse did not answer.
        return errno == ETIMEDOUT ? FeatureSendResult::Unanswered : FeatureSendResult::Failed;
    }

private:
    int fd_;
};

// A sysfs file's bytes, at most limit of them; nothing when it cannot be read.
std::optional<std::vector<std::uint8_t>> readSysfsFile(const std::string& path, std::size_t limit) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    char c = 0;
    while (bytes.size() < limit && file.get(c)) {
        bytes.push_back(static_cast<std::uint8_t>(c));
    }
    if (file.bad()) {
        return std::nullopt;
    }
    return bytes;
}

} // namespace

std::optional<std::pair<std::uint16_t, std::uint16_t>> parseHidId(std::string_view hidId) {
    // bus:vendor:product, each field hexadecimal; vendor and product are 16-bit values.
    const std::size_t first = hidId.find(':');
    const std::size_t second = first == std::string_view::npos ? first : hidId.find(':', first + 1);
    if (second == std::string_view::npos) {
        return std::nullopt;
    }
    const auto vendor = hexField(hidId.substr(first + 1, second - first - 1));
    const auto product = hexField(hidId.substr(second + 1));
    if (!vendor || !product) {
        return std::nullopt;
    }
    return std::pair{static_cast<std::uint16_t>(*vendor), static_cast<std::uint16_t>(*product)};
}

std::optional<unsigned> nodeNumber(std::string_view devnode) {
    const std::size_t slash = devnode.rfind('/');
    std::string_view name = slash == std::string_view::npos ? devnode : devnode.substr(slash + 1);
    constexpr std::string_view prefix = "hidraw";
    if (name.substr(0, prefix.size()) != prefix || name.size() == prefix.size()) {
        return std::nullopt;
    }
    name.remove_prefix(prefix.size());
    unsigned value = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), value);
    if (error != std::errc() || end != name.data() + name.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<HidNotice> noticeFor(std::string_view action, std::string_view devnode) {
    if (devnode.empty() || (action != "add" && action != "remove")) {
        return std::nullopt;
    }
    return HidNotice{action == "add" ? HidNotice::Event::Arrival : HidNotice::Event::Removal,
                     HidNotice::DeviceInterface, std::string(devnode)};
}

std::optional<std::pair<std::uint16_t, std::uint16_t>> idsFromUevent(std::string_view uevent) {
    constexpr std::string_view key = "HID_ID=";
    std::size_t pos = 0;
    while (pos < uevent.size()) {
        std::size_t end = uevent.find('\n', pos);
        if (end == std::string_view::npos) {
            end = uevent.size();
        }
        const std::string_view line = uevent.substr(pos, end - pos);
        if (line.substr(0, key.size()) == key) {
            return parseHidId(line.substr(key.size()));
        }
        pos = end + 1;
    }
    return std::nullopt;
}

std::vector<std::optional<HidInterfaceInfo>> interfacesFromSysfs(const std::string& devnode,
                                                                 const std::string& hidFolder) {
    const auto uevent = readSysfsFile(hidFolder + "/uevent", kMaxDescriptorSize);
    const auto ids =
        uevent ? idsFromUevent({reinterpret_cast<const char*>(uevent->data()), uevent->size()})
               : std::nullopt;
    if (!ids) {
        return {std::nullopt}; // a node that cannot be identified is a gap
    }
    const auto descriptor = readSysfsFile(hidFolder + "/report_descriptor", kMaxDescriptorSize);
    const auto entries =
        descriptor ? veldran::interfacesOfNode(devnode, ids->first, ids->second, *descriptor)
                   : std::nullopt;
    if (!entries || entries->empty()) {
        // An unreadable descriptor still leaves the identifiers, so the node counts as the
        // device's but matches no usage.
        HidInterfaceInfo info;
        info.path = devnode;
        info.vendorId = ids->first;
        info.productId = ids->second;
        return {info};
    }
    return {entries->begin(), entries->end()};
}

std::unique_ptr<HidReader> readerFor(int fd, std::vector<std::uint8_t> reportIds) {
    return std::make_unique<HidrawReader>(fd, std::move(reportIds));
}

} // namespace hidraw

HidrawBus::HidrawBus() : udev_(udev_new()) {
    if (udev_ == nullptr) {
        return;
    }
    monitor_ = udev_monitor_new_from_netlink(udev_, "udev");
    if (monitor_ != nullptr &&
        (udev_monitor_filter_add_match_subsystem_devtype(monitor_, "hidraw", nullptr) < 0 ||
         udev_monitor_enable_receiving(monitor_) < 0)) {
        udev_monitor_unref(monitor_);
        monitor_ = nullptr;
    }
    if (monitor_ != nullptr) {
        const int fd = udev_monitor_get_fd(monitor_);
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    }
}

HidrawBus::~HidrawBus() {
    if (monitor_ != nullptr) {
        udev_monitor_unref(monitor_);
    }
    if (udev_ != nullptr) {
        udev_unref(udev_);
    }
}

std::vector<std::optional<HidInterfaceInfo>> HidrawBus::enumerate() {
    std::lock_guard lock(mutex_);
    std::vector<std::optional<HidInterfaceInfo>> list;
    if (udev_ == nullptr) {
        return list;
    }
    udev_enumerate* enumeration = udev_enumerate_new(udev_);
    if (enumeration == nullptr) {
        return list;
    }
    udev_enumerate_add_match_subsystem(enumeration, "hidraw");
    udev_enumerate_scan_devices(enumeration);
    std::vector<std::pair<unsigned, std::string>> syspaths;
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumeration)) {
        const std::string syspath = udev_list_entry_get_name(entry);
        syspaths.emplace_back(hidraw::nodeNumber(syspath).value_or(~0u), syspath);
    }
    udev_enumerate_unref(enumeration);
    std::sort(syspaths.begin(), syspaths.end());

    for (const auto& [number, syspath] : syspaths) {
        static_cast<void>(number);
        // Identifiers and report descriptor come from the HID device's sysfs folder, so that
        // listing the nodes opens none of them (nor any other device's).
        udev_device* node = udev_device_new_from_syspath(udev_, syspath.c_str());
        const char* devnode = node != nullptr ? udev_device_get_devnode(node) : nullptr;
        udev_device* hid = node != nullptr
                               ? udev_device_get_parent_with_subsystem_devtype(node, "hid", nullptr)
                               : nullptr;
        const char* hidFolder = hid != nullptr ? udev_device_get_syspath(hid) : nullptr;
        if (devnode != nullptr && hidFolder != nullptr) {
            for (auto& entry : hidraw::interfacesFromSysfs(devnode, hidFolder)) {
                list.push_back(std::move(entry));
            }
        } else {
            list.emplace_back(); // a node that cannot be read is a gap
        }
        if (node != nullptr) {
            udev_device_unref(node);
        }
    }
    return list;
}

std::unique_ptr<HidReader> HidrawBus::openForReading(const HidInterfaceInfo& interface) {
    const int fd = open(interface.path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    return fd < 0 ? nullptr : hidraw::readerFor(fd, interface.reportIds);
}

std::unique_ptr<HidFeatureWriter> HidrawBus::openForWriting(const std::string& path) {
    const int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC);
    return fd < 0 ? nullptr : std::make_unique<hidraw::HidrawWriter>(fd);
}

int HidrawBus::noticeDescriptor() {
    std::lock_guard lock(mutex_);
    return monitor_ != nullptr ? udev_monitor_get_fd(monitor_) : -1;
}

std::vector<HidNotice> HidrawBus::takeNotices() {
    std::lock_guard lock(mutex_);
    std::vector<HidNotice> notices;
    if (monitor_ == nullptr) {
        return notices;
    }
    while (udev_device* device = udev_monitor_receive_device(monitor_)) {
        const char* action = udev_device_get_action(device);
        const char* devnode = udev_device_get_devnode(device);
        if (action != nullptr && devnode != nullptr) {
            if (auto notice = hidraw::noticeFor(action, devnode)) {
                notices.push_back(std::move(*notice));
            }
        }
        udev_device_unref(device);
    }
    return notices;
}

} // namespace veldran
