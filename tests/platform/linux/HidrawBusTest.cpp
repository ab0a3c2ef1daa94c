#include "platform/linux/HidrawBus.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

namespace veldran {
namespace {

TEST(Hidraw, ReadsUdevPropertiesAndNodeNames) {
    const auto ids = hidraw::parseHidId("0003:000018F8:00000F99");
    ASSERT_TRUE(ids.has_value());
    EXPECT_EQ(ids->first, 0x18F8);
    EXPECT_EQ(ids->second, 0x0F99);
    EXPECT_FALSE(hidraw::parseHidId("0003:000018F8"));
    EXPECT_FALSE(hidraw::parseHidId("0003:0001000018F8:00000F99")); // more than 16 bits
    EXPECT_FALSE(hidraw::parseHidId("0003:xyz:00000F99"));

    EXPECT_EQ(hidraw::nodeNumber("/dev/hidraw12"), 12u);
    EXPECT_EQ(hidraw::nodeNumber("/sys/devices/pci0000:00/0003:18F8:0F99.0001/hidraw/hidraw0"), 0u);
    EXPECT_FALSE(hidraw::nodeNumber("/dev/hidraw"));
    EXPECT_FALSE(hidraw::nodeNumber("/dev/hiddev0"));
    EXPECT_FALSE(hidraw::nodeNumber("/dev/hidraw1x"));

    const auto arrival = hidraw::noticeFor("add", "/dev/hidraw3");
    ASSERT_TRUE(arrival.has_value());
    EXPECT_EQ(arrival->event, HidNotice::Event::Arrival);
    EXPECT_EQ(arrival->deviceType, HidNotice::DeviceInterface);
    EXPECT_EQ(arrival->path, "/dev/hidraw3");
    EXPECT_EQ(hidraw::noticeFor("remove", "/dev/hidraw3")->event, HidNotice::Event::Removal);
    EXPECT_FALSE(hidraw::noticeFor("change", "/dev/hidraw3"));
    EXPECT_FALSE(hidraw::noticeFor("add", ""));
}

TEST(Hidraw, InterfaceInfoComesFromTheDescriptor) {
    const std::vector<std::uint8_t> feature = {0x06, 0x01, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85,
                                               0x07, 0x75, 0x08, 0x95, 0x07, 0xB1, 0x02, 0xC0};
    const HidInterfaceInfo info = hidraw::interfaceInfo("/dev/hidraw2", 0x18F8, 0x0F99, feature);
    EXPECT_EQ(info.usagePage, 0xFF01);
    EXPECT_EQ(info.usage, 1);
    EXPECT_EQ(info.featureReportLength, 8);
    EXPECT_EQ(info.inputReportLength, 0);

    // An unreadable descriptor still leaves the identifiers, so the interface counts as the
    // mouse's but matches neither vendor usage.
    const std::vector<std::uint8_t> broken = {0x06, 0x01};
    const HidInterfaceInfo unread = hidraw::interfaceInfo("/dev/hidraw3", 0x18F8, 0x0F99, broken);
    EXPECT_EQ(unread.vendorId, 0x18F8);
    EXPECT_EQ(unread.usagePage, 0);
    EXPECT_EQ(unread.featureReportLength, 0);
}

TEST(Hidraw, ReaderReturnsReportsAndWakesForCancelAndHangUp) {
    int pipeFds[2];
    ASSERT_EQ(pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK), 0);
    auto reader = hidraw::readerFor(pipeFds[0]);
    const std::uint8_t report[] = {6, 0xF3, 0, 0};
    ASSERT_EQ(write(pipeFds[1], report, sizeof report), 4);
    std::array<std::uint8_t, 2> small{};
    EXPECT_EQ(reader->read(small), 2); // bounded by the buffer
    EXPECT_EQ(small[1], 0xF3);

    std::atomic<int> result{0};
    std::thread blocked([&] {
        std::array<std::uint8_t, 64> buffer{};
        // The rest of the pipe's bytes first, then a read that blocks until cancelled.
        reader->read(buffer);
        result = reader->read(buffer);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    reader->cancel();
    blocked.join();
    EXPECT_EQ(result.load(), -1);
    std::array<std::uint8_t, 64> buffer{};
    EXPECT_EQ(reader->read(buffer), -1); // every later read fails at once

    int other[2];
    ASSERT_EQ(pipe2(other, O_CLOEXEC | O_NONBLOCK), 0);
    auto gone = hidraw::readerFor(other[0]);
    close(other[1]); // the device is unplugged
    EXPECT_EQ(gone->read(buffer), -1);
    close(pipeFds[1]);
}

TEST(Hidraw, BusWorksWithoutAnyHidrawNode) {
    HidrawBus bus;
    for (const auto& entry : bus.enumerate()) {
        if (entry) {
            EXPECT_FALSE(entry->path.empty());
        }
    }
    EXPECT_EQ(bus.openForReading("/nonexistent/hidraw99"), nullptr);
    EXPECT_EQ(bus.openForWriting("/nonexistent/hidraw99"), nullptr);
    EXPECT_TRUE(bus.takeNotices().empty());
}

} // namespace
} // namespace veldran
