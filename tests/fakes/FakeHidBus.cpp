#include "fakes/FakeHidBus.h"

#include <algorithm>

namespace veldran::fakes {

int FakeHidReader::read(std::span<std::uint8_t> buffer) {
    std::unique_lock lock(mutex_);
    ++readsStarted_;
    changed_.notify_all();
    changed_.wait(lock, [&] { return cancelled_ || failures_ > 0 || !reports_.empty(); });
    if (cancelled_) {
        return -1;
    }
    if (failures_ > 0) {
        --failures_;
        return -1;
    }
    const auto report = std::move(reports_.front());
    reports_.pop_front();
    const std::size_t n = std::min(buffer.size(), report.size());
    std::copy_n(report.begin(), n, buffer.begin());
    return static_cast<int>(n);
}

bool FakeHidReader::reportWaiting() {
    std::lock_guard lock(mutex_);
    return !reports_.empty();
}

void FakeHidReader::cancel() {
    std::lock_guard lock(mutex_);
    cancelled_ = true;
    changed_.notify_all();
}

void FakeHidReader::push(std::vector<std::uint8_t> report) {
    std::lock_guard lock(mutex_);
    reports_.push_back(std::move(report));
    changed_.notify_all();
}

void FakeHidReader::fail() {
    std::lock_guard lock(mutex_);
    ++failures_;
    changed_.notify_all();
}

int FakeHidReader::readsStarted() const {
    std::lock_guard lock(mutex_);
    return readsStarted_;
}

class FakeHidWriter final : public HidFeatureWriter {
public:
    FakeHidWriter(FakeHidBus& bus, std::string path) : bus_(bus), path_(std::move(path)) {}
    FeatureSendResult sendFeature(std::span<const std::uint8_t> report) override {
        bus_.record(path_, report);
        return FeatureSendResult::Sent;
    }

private:
    FakeHidBus& bus_;
    std::string path_;
};

std::vector<std::optional<HidInterfaceInfo>> FakeHidBus::enumerate() {
    std::lock_guard lock(mutex_);
    ++enumerations_;
    return interfaces;
}

std::unique_ptr<HidReader> FakeHidBus::openForReading(const HidInterfaceInfo& interface) {
    const std::string& path = interface.path;
    std::lock_guard lock(mutex_);
    openedForReading_.push_back(path);
    lastReadReportIds_ = interface.reportIds;
    if (failingOpens.count(path) != 0) {
        return nullptr;
    }
    auto reader = std::make_unique<FakeHidReader>();
    lastReader_ = reader.get();
    return reader;
}

std::unique_ptr<HidFeatureWriter> FakeHidBus::openForWriting(const std::string& path) {
    std::lock_guard lock(mutex_);
    openedForWriting_.push_back(path);
    if (failingOpens.count(path) != 0) {
        return nullptr;
    }
    return std::make_unique<FakeHidWriter>(*this, path);
}

std::vector<HidNotice> FakeHidBus::takeNotices() {
    std::lock_guard lock(mutex_);
    std::vector<HidNotice> out(notices_.begin(), notices_.end());
    notices_.clear();
    return out;
}

void FakeHidBus::queueNotice(HidNotice notice) {
    std::lock_guard lock(mutex_);
    notices_.push_back(std::move(notice));
}

std::vector<SentReport> FakeHidBus::sent() const {
    std::lock_guard lock(mutex_);
    return sent_;
}

void FakeHidBus::clearSent() {
    std::lock_guard lock(mutex_);
    sent_.clear();
}

FakeHidReader* FakeHidBus::lastReader() const {
    std::lock_guard lock(mutex_);
    return lastReader_;
}

std::vector<std::uint8_t> FakeHidBus::lastReadReportIds() const {
    std::lock_guard lock(mutex_);
    return lastReadReportIds_;
}

int FakeHidBus::enumerations() const {
    std::lock_guard lock(mutex_);
    return enumerations_;
}

std::vector<std::string> FakeHidBus::openedForReading() const {
    std::lock_guard lock(mutex_);
    return openedForReading_;
}

std::vector<std::string> FakeHidBus::openedForWriting() const {
    std::lock_guard lock(mutex_);
    return openedForWriting_;
}

void FakeHidBus::record(const std::string& path, std::span<const std::uint8_t> bytes) {
    std::lock_guard lock(mutex_);
    sent_.push_back({path, std::vector<std::uint8_t>(bytes.begin(), bytes.end())});
}

std::vector<std::optional<HidInterfaceInfo>>
FakeHidBus::mouseInterfaces(const std::string& prefix, int inputLength, int featureLength) {
    return {
        HidInterfaceInfo{prefix + "0", 0x18F8, 0x0F99, 0x01, 0x02, 8, 0, {}},
        HidInterfaceInfo{prefix + "1", 0x18F8, 0x0F99, 0xFF00, 0x01, inputLength, 0, {6}},
        HidInterfaceInfo{prefix + "2", 0x18F8, 0x0F99, 0xFF01, 0x01, 0, featureLength, {7}},
    };
}

} // namespace veldran::fakes
