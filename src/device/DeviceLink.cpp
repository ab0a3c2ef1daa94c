#include "device/DeviceLink.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <vector>

namespace veldran {
namespace {

// The walk examines at most this many list positions.
constexpr std::size_t kMaxListPositions = 100;
// Report lengths, report id included, that the mouse's interfaces may have.
constexpr int kMinReportLength = 4;
constexpr int kMaxReportLength = 256;

bool isVendorInterface(const HidInterfaceInfo& info, std::uint16_t usagePage) {
    return info.usagePage == usagePage && info.usage == 1;
}

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameAsciiCaseless(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return asciiLower(x) == asciiLower(y);
           });
}

bool lengthUsable(int length) {
    return length >= kMinReportLength && length <= kMaxReportLength;
}

std::string lengthProblem(const char* what, const std::string& path, int length) {
    return std::string("The VELDRAN mouse's ") + what + " interface (" + path + ") reports " +
           std::to_string(length) + "-byte reports; only 4 to 256 bytes are supported, so it " +
           "is not used.";
}

std::string openProblem(const char* what, const std::string& path, const char* purpose) {
    return std::string("The VELDRAN mouse's ") + what + " interface (" + path +
           ") could not be opened for " + purpose +
           "; check that you may access it (see the udev rule in the README).";
}

} // namespace

struct DeviceLink::State {
    mutable std::mutex mutex;
    // Shared so that a reader thread blocked in read() keeps its handle alive while the
    // user-interface thread replaces or drops it.
    std::shared_ptr<HidReader> reader;
    std::shared_ptr<HidFeatureWriter> writer;
    int inputLength = 0;
    int featureLength = 0;
    std::string devicePath;
    bool connected = false;
    bool readsCancelled = false;
    std::string problem;
};

DeviceLink::DeviceLink(HidBus& bus) : bus_(bus), state_(new State) {}

DeviceLink::~DeviceLink() {
    cancelReads();
    delete state_;
}

bool DeviceLink::discover() {
    // Each run starts with both handles closed, so that the stop rule sees only this run's opens.
    std::shared_ptr<HidReader> oldReader;
    {
        std::lock_guard lock(state_->mutex);
        oldReader = std::move(state_->reader);
        state_->reader.reset();
        state_->writer.reset();
        state_->inputLength = 0;
        state_->featureLength = 0;
    }
    if (oldReader) {
        oldReader->cancel(); // wakes a reader thread still blocked on the old interface
    }

    std::shared_ptr<HidReader> reader;
    std::shared_ptr<HidFeatureWriter> writer;
    int inputLength = 0;
    int featureLength = 0;
    bool readSet = false; // a failed open counts as set
    bool writeSet = false;
    bool connected = false;
    bool mouseSeen = false;
    std::string devicePath;
    std::vector<std::string> problems;

    const std::vector<std::optional<HidInterfaceInfo>> list = bus_.enumerate();
    const std::size_t positions = std::min(list.size(), kMaxListPositions);
    for (std::size_t position = 0; position < positions; ++position) {
        if (!list[position]) {
            continue; // a gap does not end the walk
        }
        const HidInterfaceInfo& info = *list[position];
        connected = false;
        if (info.vendorId != kMouseVendorId || info.productId != kMouseProductId) {
            continue;
        }
        connected = true;
        mouseSeen = true;
        devicePath = info.path;
        if (isVendorInterface(info, kInputUsagePage)) {
            readSet = true;
            reader.reset();
            inputLength = 0;
            if (!lengthUsable(info.inputReportLength)) {
                problems.push_back(lengthProblem("input", info.path, info.inputReportLength));
            } else if ((reader = bus_.openForReading(info))) {
                inputLength = info.inputReportLength;
            } else {
                problems.push_back(openProblem("input", info.path, "reading"));
            }
        }
        if (isVendorInterface(info, kFeatureUsagePage)) {
            writeSet = true;
            writer.reset();
            featureLength = 0;
            if (!lengthUsable(info.featureReportLength)) {
                problems.push_back(lengthProblem("feature", info.path, info.featureReportLength));
            } else if ((writer = bus_.openForWriting(info.path))) {
                featureLength = info.featureReportLength;
            } else {
                problems.push_back(openProblem("feature", info.path, "writing"));
            }
        }
        if (readSet && writeSet) {
            break;
        }
    }

    if (mouseSeen && !readSet) {
        problems.push_back("The VELDRAN mouse was found, but its input interface (usage page "
                           "0xFF00) is missing, so its button presses cannot be read.");
    }
    if (mouseSeen && !writeSet) {
        problems.push_back("The VELDRAN mouse was found, but its feature interface (usage page "
                           "0xFF01) is missing, so settings cannot be sent to it.");
    }
    std::string problem;
    for (const std::string& p : problems) {
        problem += problem.empty() ? p : "\n" + p;
    }

    bool cancelled = false;
    {
        std::lock_guard lock(state_->mutex);
        state_->reader = reader;
        state_->writer = std::move(writer);
        state_->inputLength = inputLength;
        state_->featureLength = featureLength;
        if (mouseSeen) {
            state_->devicePath = devicePath;
        }
        state_->connected = connected;
        state_->problem = std::move(problem);
        cancelled = state_->readsCancelled;
    }
    if (cancelled && reader) {
        reader->cancel(); // reads were stopped for good (shutdown) before this run
    }
    return connected;
}

DeviceLink::NoticeResult DeviceLink::onDeviceChange(const HidNotice& notice) {
    if (notice.deviceType != HidNotice::DeviceInterface) {
        return NoticeResult::Ignored;
    }
    bool matches = false;
    bool connected = false;
    {
        std::lock_guard lock(state_->mutex);
        matches = !state_->devicePath.empty() && sameAsciiCaseless(notice.path, state_->devicePath);
        connected = state_->connected;
    }
    if (!matches) {
        return NoticeResult::Ignored;
    }
    if (notice.event == HidNotice::Event::Arrival) {
        if (connected) {
            return NoticeResult::Ignored;
        }
        discover();
        return NoticeResult::Rediscovered;
    }
    // The mouse is gone: drop its handles and wake the reader thread from its read.
    std::shared_ptr<HidReader> reader;
    {
        std::lock_guard lock(state_->mutex);
        state_->connected = false;
        reader = std::move(state_->reader);
        state_->reader.reset();
        state_->writer.reset();
    }
    if (reader) {
        reader->cancel();
    }
    return NoticeResult::Removed;
}

bool DeviceLink::connected() const {
    std::lock_guard lock(state_->mutex);
    return state_->connected;
}

std::string DeviceLink::devicePath() const {
    std::lock_guard lock(state_->mutex);
    return state_->devicePath;
}

std::string DeviceLink::problem() const {
    std::lock_guard lock(state_->mutex);
    return state_->problem;
}

int DeviceLink::readReport(std::span<std::uint8_t> buffer) {
    std::shared_ptr<HidReader> reader;
    std::size_t length = 0;
    {
        std::lock_guard lock(state_->mutex);
        if (state_->readsCancelled) {
            return -1;
        }
        reader = state_->reader;
        length = static_cast<std::size_t>(state_->inputLength);
    }
    if (!reader) {
        return -1;
    }
    // The read is bounded both by the caller's buffer and by the interface's report length.
    return reader->read(buffer.first(std::min(buffer.size(), length)));
}

bool DeviceLink::reportWaiting() {
    std::shared_ptr<HidReader> reader;
    {
        std::lock_guard lock(state_->mutex);
        if (state_->readsCancelled) {
            return false;
        }
        reader = state_->reader;
    }
    return reader && reader->reportWaiting();
}

void DeviceLink::cancelReads() {
    std::shared_ptr<HidReader> reader;
    {
        std::lock_guard lock(state_->mutex);
        state_->readsCancelled = true;
        reader = state_->reader;
    }
    if (reader) {
        reader->cancel();
    }
}

FeatureSendResult DeviceLink::sendFeature(std::span<const std::uint8_t> report) {
    std::shared_ptr<HidFeatureWriter> writer;
    std::size_t length = 0;
    {
        std::lock_guard lock(state_->mutex);
        writer = state_->writer;
        length = static_cast<std::size_t>(state_->featureLength);
    }
    if (!writer) {
        return FeatureSendResult::Failed;
    }
    std::vector<std::uint8_t> bytes(length, 0);
    std::copy_n(report.begin(), std::min(report.size(), length), bytes.begin());
    return writer->sendFeature(bytes);
}

int DeviceLink::featureReportLength() const {
    std::lock_guard lock(state_->mutex);
    return state_->featureLength;
}

int DeviceLink::inputReportLength() const {
    std::lock_guard lock(state_->mutex);
    return state_->inputLength;
}

} // namespace veldran
