#include "platform/linux/VirtualHidBus.h"

#include "formats/HidReportFilter.h"
#include "platform/Log.h"
#include "platform/linux/CancelSignal.h"
#include "platform/linux/UnixLineSocket.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace veldran {
namespace {

using virtualmouse::LineSplitter;
using virtualmouse::splitCommand;

// How long a request waits for the virtual mouse's answer.
constexpr int kAnswerTimeoutMs = 2000;
// What one wake-up of the notice connection reads at most: the rest waits for the next wake-up,
// so that the event loop keeps answering the window however much is sent.
constexpr int kNoticeChunksPerWake = 16;
// More notices than this in one wake-up is a flood, not a mouse being plugged and unplugged: the
// connection is dropped (it is made again at the next discovery).
constexpr std::size_t kMaxNoticesPerWake = 64;

// Whether the process at the other end of fd runs as this user. A socket of another user's
// (planted where the driver looks for the virtual mouse) would see every feature report and could
// send presses that run this user's button functions: it is refused, and said so once.
bool peerIsThisUser(int fd, const std::string& path) {
    static std::atomic<bool> reported{false};
    const std::optional<uid_t> peer = peerUser(fd);
    if (peer && *peer == getuid()) {
        return true;
    }
    if (!reported.exchange(true)) {
        const std::string who =
            peer ? "it runs as uid " + std::to_string(*peer) : std::string("its user is unknown");
        logLine("refusing the virtual mouse at " + path + ": " + who + ", not this user");
    }
    return false;
}

// Connects to the virtual mouse at path; -1 when nobody listens there or the peer is another user.
int connectToVirtualMouse(const std::string& path) {
    const int fd = connectUnixSocket(path);
    if (fd >= 0 && !peerIsThisUser(fd, path)) {
        close(fd);
        return -1;
    }
    return fd;
}

// Connects and sends "read PATH" or "write PATH"; the connection when the answer is "ok".
int openHandle(const std::string& socketPath, const std::string& request, LineSplitter& lines) {
    const int fd = connectToVirtualMouse(socketPath);
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

    bool reportWaiting() override {
        pollfd p{fd_, POLLIN, 0};
        return lines_.hasLine() || (poll(&p, 1, 0) == 1 && (p.revents & POLLIN) != 0);
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

    FeatureSendResult sendFeature(std::span<const std::uint8_t> report) override {
        std::lock_guard lock(mutex_);
        if (!writeLine(fd_, "feature " + virtualmouse::hexBytes(report))) {
            return FeatureSendResult::Failed;
        }
        for (;;) {
            bool timedOut = false;
            const auto answer = readLine(fd_, lines_, kAnswerTimeoutMs, -1, &timedOut);
            if (!answer) {
                // This report's answer, should it still come, is a late one.
                lateAnswers_ += timedOut ? 1 : 0;
                return timedOut ? FeatureSendResult::Unanswered : FeatureSendResult::Failed;
            }
            // Answers come in order: the late answers of earlier reports come first.
            if (lateAnswers_ > 0) {
                --lateAnswers_;
                continue;
            }
            return *answer == "ok" ? FeatureSendResult::Sent : FeatureSendResult::Failed;
        }
    }

private:
    std::mutex mutex_;
    int fd_;
    LineSplitter lines_;
    std::size_t lateAnswers_ = 0; // answers still owed for reports that timed out
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
    const int fd = connectToVirtualMouse(socketPath_);
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
    const int fd = connectToVirtualMouse(socketPath_);
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
    for (int chunks = 0; chunks < kNoticeChunksPerWake; ++chunks) {
        std::array<char, 4096> chunk{};
        const ssize_t n = recv(noticeFd_, chunk.data(), chunk.size(), MSG_DONTWAIT);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            break;
        }
        if (n <= 0 || !noticeLines_.feed({chunk.data(), static_cast<std::size_t>(n)})) {
            dropNoticesLocked(); // the virtual mouse has gone: its last lines are still told
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
        if (notices.size() > kMaxNoticesPerWake) {
            dropNoticesLocked();
            logLine("the virtual mouse sent a flood of notices; its notice connection is dropped");
            notices.clear();
            break;
        }
    }
    return notices;
}

} // namespace veldran
