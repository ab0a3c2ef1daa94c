#include "platform/linux/HidrawBus.h"

#include "platform/TempFolder.h"

#include <array>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
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

void writeBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

// A HID device's sysfs folder: its uevent text and report descriptor.
std::string hidFolder(const test::TempFolder& root, const std::string& name,
                      const std::string& hidId, const std::vector<std::uint8_t>& descriptor) {
    const auto folder = root / name;
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "uevent")
        << "DRIVER=hid-generic\nHID_ID=" << hidId << "\nHID_NAME=Some Device\n";
    writeBytes(folder / "report_descriptor", descriptor);
    return folder.string();
}

TEST(Hidraw, NodesAreIdentifiedFromSysfsWithoutOpeningThem) {
    // A keyboard collection, the input collection (report 6) and the feature collection
    // (report 7) behind one node.
    const std::vector<std::uint8_t> combined = {
        0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x85, 0x01, 0x75, 0x08, 0x95, 0x08,
        0x81, 0x00, 0xC0, 0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x06,
        0x75, 0x08, 0x95, 0x07, 0x81, 0x02, 0xC0, 0x06, 0x01, 0xFF, 0x09, 0x01,
        0xA1, 0x01, 0x85, 0x07, 0x75, 0x08, 0x95, 0x07, 0xB1, 0x02, 0xC0};
    test::TempFolder sysfs;
    // The device nodes do not exist: everything comes from sysfs.
    const auto mouse = hidraw::interfacesFromSysfs(
        "/nonexistent/hidraw4", hidFolder(sysfs, "mouse", "0003:000018F8:00000F99", combined));
    ASSERT_EQ(mouse.size(), 3u);
    for (const auto& entry : mouse) {
        ASSERT_TRUE(entry.has_value());
        EXPECT_EQ(entry->path, "/nonexistent/hidraw4");
        EXPECT_EQ(entry->vendorId, 0x18F8);
        EXPECT_EQ(entry->productId, 0x0F99);
    }
    EXPECT_EQ(mouse[0]->usagePage, 0x01);
    EXPECT_EQ(mouse[0]->reportIds, std::vector<std::uint8_t>{1});
    EXPECT_EQ(mouse[1]->usagePage, 0xFF00);
    EXPECT_EQ(mouse[1]->usage, 1);
    EXPECT_EQ(mouse[1]->inputReportLength, 8);
    EXPECT_EQ(mouse[1]->reportIds, std::vector<std::uint8_t>{6});
    EXPECT_EQ(mouse[2]->usagePage, 0xFF01);
    EXPECT_EQ(mouse[2]->featureReportLength, 8);
    EXPECT_EQ(mouse[2]->inputReportLength, 0);

    // Another device (a security key) is listed by its identifiers, and its node is not touched.
    const std::vector<std::uint8_t> fido = {0x06, 0xD0, 0xF1, 0x09, 0x01, 0xA1, 0x01,
                                            0x75, 0x08, 0x95, 0x40, 0x81, 0x02, 0xC0};
    const auto key = hidraw::interfacesFromSysfs(
        "/nonexistent/hidraw5", hidFolder(sysfs, "key", "0003:00001050:00000407", fido));
    ASSERT_EQ(key.size(), 1u);
    EXPECT_EQ(key[0]->vendorId, 0x1050);
    EXPECT_EQ(key[0]->usagePage, 0xF1D0);
    EXPECT_TRUE(key[0]->reportIds.empty());

    // An unreadable descriptor leaves the identifiers, so the node counts as the mouse's but
    // matches neither vendor usage; a folder without HID_ID is a gap.
    const auto broken = hidraw::interfacesFromSysfs(
        "/dev/hidraw6", hidFolder(sysfs, "broken", "0003:000018F8:00000F99", {0x06, 0x01}));
    ASSERT_EQ(broken.size(), 1u);
    EXPECT_EQ(broken[0]->vendorId, 0x18F8);
    EXPECT_EQ(broken[0]->usagePage, 0);
    EXPECT_EQ(broken[0]->featureReportLength, 0);
    std::filesystem::create_directories(sysfs / "anonymous");
    std::ofstream(sysfs / "anonymous" / "uevent") << "DRIVER=hid-generic\n";
    const auto gap = hidraw::interfacesFromSysfs("/dev/hidraw7", (sysfs / "anonymous").string());
    ASSERT_EQ(gap.size(), 1u);
    EXPECT_FALSE(gap[0].has_value());
    EXPECT_FALSE(hidraw::interfacesFromSysfs("/dev/hidraw8", (sysfs / "missing").string())[0]);
    EXPECT_EQ(hidraw::idsFromUevent("HID_ID=0003:000018F8:00000F99"),
              (std::pair<std::uint16_t, std::uint16_t>{0x18F8, 0x0F99}));
}

TEST(Hidraw, ReaderPassesOnlyItsCollectionsReports) {
    int pipeFds[2];
    ASSERT_EQ(pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK), 0);
    auto reader = hidraw::readerFor(pipeFds[0], {6});
    // A pipe is not a hidraw node: one write is one report only when each is read whole, so
    // each report is written after the previous one was read.
    const std::uint8_t keyboard[] = {1, 0, 0, 4, 0, 0, 0, 0};
    const std::uint8_t press[] = {6, 0xF3, 0, 0, 0, 0, 0, 0};
    ASSERT_EQ(write(pipeFds[1], keyboard, sizeof keyboard), 8);
    std::array<std::uint8_t, 8> buffer{};
    std::thread writer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        [[maybe_unused]] const auto n = write(pipeFds[1], press, sizeof press);
    });
    EXPECT_EQ(reader->read(buffer), 8); // the keyboard report was passed over
    writer.join();
    EXPECT_EQ(buffer[0], 6);
    EXPECT_EQ(buffer[1], 0xF3);
    close(pipeFds[1]);

    // Without report ids each report gets a 0 in front.
    int plain[2];
    ASSERT_EQ(pipe2(plain, O_CLOEXEC | O_NONBLOCK), 0);
    auto unnumbered = hidraw::readerFor(plain[0], {});
    const std::uint8_t event[] = {0xF3, 0, 0};
    ASSERT_EQ(write(plain[1], event, sizeof event), 3);
    buffer.fill(0xEE);
    EXPECT_EQ(unnumbered->read(buffer), 4);
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(buffer[1], 0xF3);
    close(plain[1]);
}

TEST(Hidraw, ReaderReturnsReportsAndWakesForCancelAndHangUp) {
    int pipeFds[2];
    ASSERT_EQ(pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK), 0);
    auto reader = hidraw::readerFor(pipeFds[0], {6});
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
    auto gone = hidraw::readerFor(other[0], {6});
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
    HidInterfaceInfo missing;
    missing.path = "/nonexistent/hidraw99";
    EXPECT_EQ(bus.openForReading(missing), nullptr);
    EXPECT_EQ(bus.openForWriting("/nonexistent/hidraw99"), nullptr);
    EXPECT_TRUE(bus.takeNotices().empty());
}

} // namespace
} // namespace veldran
