#include "platform/linux/VirtualHidBus.h"

#include "platform/HidReportFilter.h"
#include "platform/linux/CancelSignal.h"
#include "platform/linux/UnixLineSocket.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace veldran {
namespace {

using virtualmouse::LineSplitter;
using virtualmouse::splitCommand;

// How long a request waits for the virtual mouse's answer.
constexpr int kAnswerTimeoutMs = 2000;

// Connects and sends "read PATH" or "write PATH"; the connection when the answer is "ok".
int openHandle(const std::string& socketPath, const std::string& request, LineSplitter& lines) {
    const int fd = connectUnixSocket(socketPath);
    if (fd < 0) {
        return -1;
    }
    const auto answer = writeLine(fd, request) ? readLine(fd, lines, kAnswerTimeoutMs)
                                               : std::optional<std::string>();
    if (answer != "ok") {
        close(fd);
        return -1;
    }
    return fd;
}

class VirtualHidReader final : public HidReader {
public:
    VirtualHidReader(int fd, LineSplitter lines, std::vector<std::uint8_t> reportIds)
        : fd_(fd), lines_(std::move(lines)), reportIds_(std::move(reportIds)) {}
    ~VirtualHidReader() override { close(fd_); }
    VirtualHidReader(const VirtualHidReader&) = delete;
    VirtualHidReader& operator=(const VirtualHidReader&) = delete;

    int read(std::span<std::uint8_t> buffer) override {
        while (!cancel_.cancelled() && !gone_) {
            const auto line = readLine(fd_, lines_, -1, cancel_.fd());
            if (!line) {
                gone_ = !cancel_.cancelled(); // the virtual mouse closed the connection
                return -1;
            }
            const auto [word, rest] = splitCommand(*line);
            if (word != "input") {
                continue;
            }
            const auto report = virtualmouse::parseHexBytes(rest);
            if (!report) {
                continue;
            }
            // The interface may carry other collections (a keyboard): only this one's reports
            // are handed over.
            const std::size_t n = filterCollectionReport(reportIds_, *report, buffer);
            if (n > 0) {
                return static_cast<int>(n);
            }
        }
        return -1;
    }

    void cancel() override { cancel_.cancel(); }

private:
    int fd_;
    CancelSignal cancel_;
    LineSplitter lines_; // used by the reading thread only
    bool gone_ = false;  // used by the reading thread only
    std::vector<std::uint8_t> reportIds_;
};

class VirtualHidWriter final : public HidFeatureWriter {
public:
    VirtualHidWriter(int fd, LineSplitter lines) : fd_(fd), lines_(std::move(lines)) {}
    ~VirtualHidWriter() override { close(fd_); }
    VirtualHidWriter(const VirtualHidWriter&) = delete;
    VirtualHidWriter& operator=(const VirtualHidWriter&) = delete;

    bool sendFeature(std::span<const std::uint8_t> report) override {
        std::lock_guard lock(mutex_);
        if (!writeLine(fd_, "feature " + virtualmouse::hexBytes(report))) {
            return false;
        }
        return readLine(fd_, lines_, kAnswerTimeoutMs) == "ok";
    }

private:
    std::mutex mutex_;
    int fd_;
    LineSplitter lines_;
};

} // namespace

VirtualHidBus::VirtualHidBus(std::string socketPath) : socketPath_(std::move(socketPath)) {
    noticeFd_ = eventfd(0, EFD_CLOEXEC); // never written: never readable
    std::lock_guard lock(mutex_);
    connectNoticesLocked();
}

VirtualHidBus::~VirtualHidBus() {
    if (noticeFd_ >= 0) {
        close(noticeFd_);
    }
}

void VirtualHidBus::connectNoticesLocked() {
    if (noticesConnected_ || noticeFd_ < 0) {
        return;
    }
    const int fd = connectUnixSocket(socketPath_);
    if (fd < 0) {
        return;
    }
    // The connection takes over the notice descriptor's number, so that whoever watches it
    // keeps watching the right thing.
    if (writeLine(fd, "notices") && dup3(fd, noticeFd_, O_CLOEXEC) >= 0) {
        noticesConnected_ = true;
        noticeLines_ = LineSplitter();
    }
    close(fd);
}

void VirtualHidBus::dropNoticesLocked() {
    const int placeholder = eventfd(0, EFD_CLOEXEC);
    if (placeholder >= 0) {
        dup3(placeholder, noticeFd_, O_CLOEXEC);
        close(placeholder);
    }
    noticesConnected_ = false;
}

std::vector<std::optional<HidInterfaceInfo>> VirtualHidBus::enumerate() {
    {
        std::lock_guard lock(mutex_);
        connectNoticesLocked(); // a virtual mouse started after the driver
    }
    std::vector<std::optional<HidInterfaceInfo>> list;
    const int fd = connectUnixSocket(socketPath_);
    if (fd < 0) {
        return list;
    }
    LineSplitter lines;
    if (writeLine(fd, "list")) {
        while (auto line = readLine(fd, lines, kAnswerTimeoutMs)) {
            if (*line == "end") {
                break;
            }
            const auto parsed = virtualmouse::parseInterfaceLine(*line);
            const auto entries = parsed ? virtualmouse::interfacesOf(*parsed) : std::nullopt;
            if (!entries) {
                list.emplace_back(); // an interface that cannot be read is a gap in the list
                continue;
            }
            list.insert(list.end(), entries->begin(), entries->end());
        }
    }
    close(fd);
    return list;
}

std::unique_ptr<HidReader> VirtualHidBus::openForReading(const HidInterfaceInfo& interface) {
    LineSplitter lines;
    const int fd = openHandle(socketPath_, "read " + interface.path, lines);
    if (fd < 0) {
        return nullptr;
    }
    return std::make_unique<VirtualHidReader>(fd, std::move(lines), interface.reportIds);
}

std::unique_ptr<HidFeatureWriter> VirtualHidBus::openForWriting(const std::string& path) {
    LineSplitter lines;
    const int fd = openHandle(socketPath_, "write " + path, lines);
    if (fd < 0) {
        return nullptr;
    }
    return std::make_unique<VirtualHidWriter>(fd, std::move(lines));
}

int VirtualHidBus::noticeDescriptor() {
    return noticeFd_;
}

std::vector<HidNotice> VirtualHidBus::takeNotices() {
    std::lock_guard lock(mutex_);
    std::vector<HidNotice> notices;
    if (!noticesConnected_) {
        return notices;
    }
    for (;;) {
        std::array<char, 4096> chunk{};
        const ssize_t n = recv(noticeFd_, chunk.data(), chunk.size(), MSG_DONTWAIT);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            break;
        }
        if (n <= 0 || !noticeLines_.feed({chunk.data(), static_cast<std::size_t>(n)})) {
            dropNoticesLocked(); // the virtual mouse has gone
            break;
        }
    }
    while (auto line = noticeLines_.next()) {
        const auto [word, path] = splitCommand(*line);
        if (word == "arrival" || word == "removal") {
            notices.push_back(
                {word == "arrival" ? HidNotice::Event::Arrival : HidNotice::Event::Removal,
                 HidNotice::DeviceInterface, std::string(path)});
        }
    }
    return notices;
}

} // namespace veldran
