#include "device/DeviceLink.h"

#include "fakes/FakeHidBus.h"

#include <gtest/gtest.h>
#include <thread>

namespace veldran {
namespace {

using fakes::FakeHidBus;
using Iface = std::optional<HidInterfaceInfo>;

HidInterfaceInfo other(const std::string& path) {
    return {path, 0x046D, 0xC077, 0x01, 0x02, 5, 0, {}};
}
HidInterfaceInfo mouse(const std::string& path, std::uint16_t page, int input = 8,
                       int feature = 8) {
    return {path, kMouseVendorId, kMouseProductId, page, 1, input, feature, {}};
}

TEST(DeviceLinkDiscovery, StopsAtTheSecondVendorInterface) {
    FakeHidBus bus;
    bus.interfaces = {other("a0"), other("a1"),         mouse("m2", 0x0001), mouse("m3", 0xFF00),
                      other("a4"), mouse("m5", 0xFF01), mouse("m6", 0xFF00), other("a7")};
    DeviceLink link(bus);
    EXPECT_TRUE(link.discover());
    EXPECT_EQ(link.devicePath(), "m5");
    EXPECT_EQ(bus.openedForReading(), std::vector<std::string>{"m3"});
    EXPECT_EQ(bus.openedForWriting(), std::vector<std::string>{"m5"});
    EXPECT_EQ(link.inputReportLength(), 8);
    EXPECT_EQ(link.featureReportLength(), 8);
    EXPECT_EQ(link.problem(), "");
}

TEST(DeviceLinkDiscovery, BothVendorCollectionsOfOneNodeGiveBothHandles) {
    // One node with a keyboard, the input and the feature collection: three entries, one path.
    FakeHidBus bus;
    HidInterfaceInfo keyboard{
        "/dev/hidraw4", kMouseVendorId, kMouseProductId, 0x01, 0x06, 9, 0, {1}};
    HidInterfaceInfo input = mouse("/dev/hidraw4", 0xFF00, 8, 0);
    input.reportIds = {6};
    HidInterfaceInfo feature = mouse("/dev/hidraw4", 0xFF01, 0, 8);
    feature.reportIds = {7};
    bus.interfaces = {other("a0"), mouse("/dev/hidraw3", 0x0001), keyboard, input,
                      feature,     mouse("/dev/hidraw5", 0xFF00)};
    DeviceLink link(bus);
    EXPECT_TRUE(link.discover());
    EXPECT_EQ(link.devicePath(), "/dev/hidraw4");
    // Opened once for reading (for the input collection) and once for writing; the walk stops
    // there, so the later node is never opened.
    EXPECT_EQ(bus.openedForReading(), std::vector<std::string>{"/dev/hidraw4"});
    EXPECT_EQ(bus.lastReadReportIds(), std::vector<std::uint8_t>{6});
    EXPECT_EQ(bus.openedForWriting(), std::vector<std::string>{"/dev/hidraw4"});
    EXPECT_EQ(link.inputReportLength(), 8);
    EXPECT_EQ(link.featureReportLength(), 8);
    EXPECT_EQ(link.problem(), "");
}

TEST(DeviceLinkDiscovery, SkipsGapsAndLooksAtOnlyOneHundredPositions) {
    FakeHidBus bus;
    bus.interfaces = {std::nullopt, mouse("m1", 0xFF00), std::nullopt, std::nullopt,
                      mouse("m4", 0xFF01)};
    DeviceLink link(bus);
    EXPECT_TRUE(link.discover());
    EXPECT_EQ(link.devicePath(), "m4");

    FakeHidBus far;
    far.interfaces.assign(99, Iface{other("x")});
    far.interfaces.push_back(mouse("m99", 0xFF00));
    far.interfaces.push_back(mouse("m100", 0xFF01)); // position 100: never examined
    DeviceLink farLink(far);
    EXPECT_TRUE(farLink.discover()); // position 99 belonged to the mouse
    EXPECT_TRUE(far.openedForWriting().empty());
    EXPECT_NE(farLink.problem().find("0xFF01"), std::string::npos);
}

TEST(DeviceLinkDiscovery, TwoMiceReplaceHandlesUntilBothAreSet) {
    FakeHidBus bus;
    bus.interfaces = {mouse("a-in", 0xFF00), mouse("b-in", 0xFF00), mouse("b-feat", 0xFF01),
                      mouse("a-feat", 0xFF01)};
    DeviceLink link(bus);
    EXPECT_TRUE(link.discover());
    EXPECT_EQ(link.devicePath(), "b-feat");
    EXPECT_EQ(bus.openedForReading(), (std::vector<std::string>{"a-in", "b-in"}));
    EXPECT_EQ(bus.openedForWriting(), std::vector<std::string>{"b-feat"});

    // Reads go to the replacing handle.
    bus.lastReader()->push({6, 0, 0, 0, 0, 0, 0, 0});
    std::array<std::uint8_t, 256> buffer{};
    EXPECT_EQ(link.readReport(buffer), 8);
}

TEST(DeviceLinkDiscovery, NoMouseAndAFailedOpen) {
    FakeHidBus bus;
    bus.interfaces = {other("a0"), other("a1")};
    DeviceLink link(bus);
    EXPECT_FALSE(link.discover());
    EXPECT_EQ(link.devicePath(), "");
    EXPECT_EQ(link.problem(), "");
    std::array<std::uint8_t, 8> buffer{};
    EXPECT_EQ(link.readReport(buffer), -1);
    EXPECT_EQ(link.sendFeature(buffer), FeatureSendResult::Failed);

    // A failed open counts as set: the walk stops all the same, and the reason is told.
    FakeHidBus failing = FakeHidBus();
    failing.interfaces = {mouse("in", 0xFF00), mouse("feat", 0xFF01), mouse("in2", 0xFF00)};
    failing.failingOpens = {"in"};
    DeviceLink failingLink(failing);
    EXPECT_TRUE(failingLink.discover());
    EXPECT_EQ(failingLink.devicePath(), "feat");
    EXPECT_EQ(failing.openedForReading(), std::vector<std::string>{"in"});
    EXPECT_NE(failingLink.problem().find("could not be opened"), std::string::npos);
    EXPECT_EQ(failingLink.readReport(buffer), -1);
}

TEST(DeviceLinkDiscovery, HalfPresentMouseRunsToTheEndAndIsReported) {
    FakeHidBus bus;
    bus.interfaces = {mouse("m0", 0x0001), mouse("m1", 0xFF01), other("a2")};
    DeviceLink link(bus);
    EXPECT_FALSE(link.discover()); // the last interface examined is not the mouse's
    EXPECT_EQ(link.devicePath(), "m1");
    EXPECT_NE(link.problem().find("input interface (usage page 0xFF00) is missing"),
              std::string::npos);
}

TEST(DeviceLinkDiscovery, ReportLengthsOutsideFourTo256AreNotUsed) {
    FakeHidBus bus;
    bus.interfaces = {mouse("in", 0xFF00, 3, 0), mouse("feat", 0xFF01, 0, 257)};
    DeviceLink link(bus);
    EXPECT_TRUE(link.discover());
    EXPECT_TRUE(bus.openedForReading().empty());
    EXPECT_TRUE(bus.openedForWriting().empty());
    EXPECT_NE(link.problem().find("3-byte"), std::string::npos);
    EXPECT_NE(link.problem().find("257-byte"), std::string::npos);
    const std::array<std::uint8_t, 4> report{7, 0x20, 0, 0};
    EXPECT_EQ(link.sendFeature(report), FeatureSendResult::Failed);
}

TEST(DeviceLinkReports, FeatureReportsAreZeroFilledAndReadsBounded) {
    FakeHidBus bus;
    bus.interfaces = FakeHidBus::mouseInterfaces("/dev/hidraw", 6, 16);
    DeviceLink link(bus);
    ASSERT_TRUE(link.discover());
    const std::array<std::uint8_t, 4> report{7, 0x11, 1, 0};
    EXPECT_EQ(link.sendFeature(report), FeatureSendResult::Sent);
    ASSERT_EQ(bus.sent().size(), 1u);
    std::vector<std::uint8_t> expected(16, 0);
    expected[0] = 7;
    expected[1] = 0x11;
    expected[2] = 1;
    EXPECT_EQ(bus.sent()[0].bytes, expected);
    EXPECT_EQ(bus.sent()[0].path, "/dev/hidraw2");

    // A report longer than the input length (or the buffer) is cut to the shorter of the two.
    bus.lastReader()->push(std::vector<std::uint8_t>(300, 0xAB));
    std::array<std::uint8_t, 256> buffer{};
    EXPECT_EQ(link.readReport(buffer), 6);
    bus.lastReader()->push(std::vector<std::uint8_t>(300, 0xAB));
    std::array<std::uint8_t, 4> small{};
    EXPECT_EQ(link.readReport(small), 4);
}

TEST(DeviceLinkNotices, RemovalMatchesThePathWithoutRegardToCase) {
    FakeHidBus bus;
    bus.interfaces = FakeHidBus::mouseInterfaces("/dev/HidRaw");
    DeviceLink link(bus);
    ASSERT_TRUE(link.discover());
    using Event = HidNotice::Event;
    EXPECT_EQ(link.onDeviceChange({Event::Removal, 5, "/dev/hidraw7"}),
              DeviceLink::NoticeResult::Ignored);
    EXPECT_EQ(link.onDeviceChange({Event::Removal, 2, "/dev/HidRaw2"}),
              DeviceLink::NoticeResult::Ignored); // not an interface notice
    EXPECT_EQ(link.onDeviceChange({Event::Arrival, 5, "/dev/hidraw2"}),
              DeviceLink::NoticeResult::Ignored); // arrival while connected
    EXPECT_EQ(bus.enumerations(), 1);
    EXPECT_TRUE(link.connected());

    EXPECT_EQ(link.onDeviceChange({Event::Removal, 5, "/DEV/HIDRAW2"}),
              DeviceLink::NoticeResult::Removed);
    EXPECT_FALSE(link.connected());
    std::array<std::uint8_t, 8> buffer{};
    EXPECT_EQ(link.readReport(buffer), -1);

    // Arrival of the same path while not connected runs discovery again.
    EXPECT_EQ(link.onDeviceChange({Event::Arrival, 5, "/dev/hidraw2"}),
              DeviceLink::NoticeResult::Rediscovered);
    EXPECT_EQ(bus.enumerations(), 2);
    EXPECT_TRUE(link.connected());
}

TEST(DeviceLinkNotices, NothingMatchesBeforeAnyMouseWasFound) {
    FakeHidBus bus;
    DeviceLink link(bus);
    EXPECT_FALSE(link.discover());
    EXPECT_EQ(link.onDeviceChange({HidNotice::Event::Arrival, 5, ""}),
              DeviceLink::NoticeResult::Ignored);
    EXPECT_EQ(link.onDeviceChange({HidNotice::Event::Removal, 5, ""}),
              DeviceLink::NoticeResult::Ignored);
}

TEST(DeviceLinkThreads, RediscoveryWakesAReaderBlockedOnTheOldHandle) {
    FakeHidBus bus;
    bus.interfaces = FakeHidBus::mouseInterfaces("p");
    DeviceLink link(bus);
    ASSERT_TRUE(link.discover());
    fakes::FakeHidReader* first = bus.lastReader();

    std::atomic<int> result{0};
    std::thread reader([&] {
        std::array<std::uint8_t, 256> buffer{};
        result = link.readReport(buffer);
    });
    while (first->readsStarted() == 0) {
        std::this_thread::yield();
    }
    link.discover(); // the old reader is cancelled; its object stays alive for the blocked read
    reader.join();
    EXPECT_EQ(result.load(), -1);

    // The new handle works; cancelReads then stops it and every later discovery's handle.
    bus.lastReader()->push({6, 0, 0, 0});
    std::array<std::uint8_t, 256> buffer{};
    EXPECT_EQ(link.readReport(buffer), 4);
    std::thread blocked([&] { result = link.readReport(buffer); });
    while (bus.lastReader()->readsStarted() < 2) {
        std::this_thread::yield();
    }
    link.cancelReads();
    blocked.join();
    EXPECT_EQ(result.load(), -1);
    link.discover();
    bus.lastReader()->push({6, 0, 0, 0});
    EXPECT_EQ(link.readReport(buffer), -1);
}

} // namespace
} // namespace veldran
