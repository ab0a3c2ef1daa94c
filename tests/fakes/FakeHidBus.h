// A HID bus in memory: interfaces to enumerate, readers fed with reports by the test, writers
// that record every feature report they send, and notices queued by the test.
#pragma once

#include "platform/HidBus.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <set>

namespace veldran::fakes {

// Reports sent through every writer of one bus, in order, with the path they went to.
struct SentReport {
    std::string path;
    std::vector<std::uint8_t> bytes;
};

class FakeHidReader final : public HidReader {
public:
    int read(std::span<std::uint8_t> buffer) override;
    bool reportWaiting() override;
    void cancel() override;
    // Queues one input report for read(); wakes a blocked reader.
    void push(std::vector<std::uint8_t> report);
    // Makes the next reads fail (as an unplugged device does) until reports are pushed again.
    void fail();
    int readsStarted() const;

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::vector<std::uint8_t>> reports_;
    bool cancelled_ = false;
    int failures_ = 0;
    int readsStarted_ = 0;
};

class FakeHidBus final : public HidBus {
public:
    std::vector<std::optional<HidInterfaceInfo>> interfaces; // what enumerate() returns
    std::set<std::string> failingOpens;                      // paths whose opens fail

    std::vector<std::optional<HidInterfaceInfo>> enumerate() override;
    std::unique_ptr<HidReader> openForReading(const HidInterfaceInfo& interface) override;
    std::unique_ptr<HidFeatureWriter> openForWriting(const std::string& path) override;
    int noticeDescriptor() override { return -1; }
    std::vector<HidNotice> takeNotices() override;

    void queueNotice(HidNotice notice);
    std::vector<SentReport> sent() const;
    void clearSent();
    // The reader handed out by the last successful openForReading (owned by its user).
    FakeHidReader* lastReader() const;
    // The report ids of the collection that the last openForReading was for.
    std::vector<std::uint8_t> lastReadReportIds() const;
    int enumerations() const;
    std::vector<std::string> openedForReading() const;
    std::vector<std::string> openedForWriting() const;

    // The mouse's three interfaces (standard mouse, input vendor page, feature vendor page).
    static std::vector<std::optional<HidInterfaceInfo>>
    mouseInterfaces(const std::string& prefix, int inputLength = 8, int featureLength = 8);

private:
    friend class FakeHidWriter;
    void record(const std::string& path, std::span<const std::uint8_t> bytes);
    mutable std::mutex mutex_;
    std::vector<SentReport> sent_;
    std::deque<HidNotice> notices_;
    FakeHidReader* lastReader_ = nullptr;
    std::vector<std::uint8_t> lastReadReportIds_;
    int enumerations_ = 0;
    std::vector<std::string> openedForReading_;
    std::vector<std::string> openedForWriting_;
};

} // namespace veldran::fakes
