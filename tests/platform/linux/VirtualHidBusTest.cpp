#include "platform/linux/VirtualHidBus.h"

#include "device/DeviceLink.h"
#include "fakes/VirtualMouseProcess.h"
#include "platform/TempFolder.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>

namespace veldran {
namespace {

using fakes::VirtualMouseProcess;

bool readableWithin(int fd, int timeoutMs) {
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, timeoutMs) == 1;
}

TEST(VirtualHidBus, ListsTheThreeInterfacesFromTheirDescriptors) {
    const std::string socket = VirtualMouseProcess::socketPathFor("list");
    VirtualMouseProcess mouse(socket, {"--input-length", "16", "--feature-length", "32"});
    ASSERT_TRUE(mouse.started());
    VirtualHidBus bus(socket);
    const auto list = bus.enumerate();
    ASSERT_EQ(list.size(), 3u);
    for (const auto& entry : list) {
        ASSERT_TRUE(entry.has_value());
        EXPECT_EQ(entry->vendorId, 0x18F8);
        EXPECT_EQ(entry->productId, 0x0F99);
    }
    EXPECT_EQ(list[0]->usagePage, 0x01);
    EXPECT_EQ(list[0]->usage, 0x02);
    EXPECT_EQ(list[1]->usagePage, 0xFF00);
    EXPECT_EQ(list[1]->usage, 1);
    EXPECT_EQ(list[1]->inputReportLength, 16);
    EXPECT_EQ(list[2]->usagePage, 0xFF01);
    EXPECT_EQ(list[2]->featureReportLength, 32);

    mouse.command("unplug");
    EXPECT_TRUE(mouse.waitForLine("# unplugged"));
    EXPECT_TRUE(bus.enumerate().empty());
    EXPECT_EQ(bus.openForWriting(list[2]->path), nullptr);
    EXPECT_EQ(mouse.finish(), 0);
    EXPECT_TRUE(VirtualHidBus(socket).enumerate().empty()); // nobody listening any more
}

TEST(VirtualHidBus, CarriesReportsBothWaysAndTheRemovalNotice) {
    const std::string socket = VirtualMouseProcess::socketPathFor("link");
    VirtualMouseProcess mouse(socket);
    ASSERT_TRUE(mouse.started());
    VirtualHidBus bus(socket);
    DeviceLink link(bus);
    ASSERT_TRUE(link.discover()) << link.problem();
    EXPECT_EQ(link.problem(), "");

    const std::array<std::uint8_t, 4> wheel{7, 0x11, 1, 0};
    EXPECT_EQ(link.sendFeature(wheel), FeatureSendResult::Sent);
    EXPECT_EQ(mouse.nextDataLine(), "feature 07 11 01 00 00 00 00 00");
    const std::array<std::uint8_t, 4> bogus{9, 0, 0, 0};
    EXPECT_EQ(link.sendFeature(bogus),
              FeatureSendResult::Failed); // refused by the mouse: the send fails
    EXPECT_EQ(mouse.nextDataLine(), "feature 09 00 00 00 00 00 00 00");
    mouse.command("state");
    EXPECT_EQ(mouse.nextDataLine(),
              "state buttons 1=01 2=02 3=03 4=04 5=05 6=06 9=09 wheel 1 dpi-level 0 dpi-value 90 "
              "plugged");

    mouse.command("press 4");
    std::array<std::uint8_t, 256> buffer{};
    ASSERT_EQ(link.readReport(buffer), 8);
    EXPECT_EQ(buffer[0], 6);
    EXPECT_EQ(buffer[1], 245); // slot 4 carries identifier 5
    mouse.command("report 06 00 01 02 03 04 05 06 07 08");
    EXPECT_EQ(link.readReport(buffer), 8); // bounded by the input report length
    EXPECT_EQ(buffer[7], 0x06);

    // A read blocked in another thread wakes on unplug, and the removal notice arrives.
    std::atomic<int> result{0};
    std::thread reader([&] { result = link.readReport(buffer); });
    mouse.command("unplug");
    reader.join();
    EXPECT_EQ(result.load(), -1);
    ASSERT_TRUE(readableWithin(bus.noticeDescriptor(), 5000));
    std::vector<HidNotice> notices;
    while (notices.size() < 3 && readableWithin(bus.noticeDescriptor(), 5000)) {
        const auto more = bus.takeNotices();
        notices.insert(notices.end(), more.begin(), more.end());
    }
    ASSERT_EQ(notices.size(), 3u);
    DeviceLink::NoticeResult outcome = DeviceLink::NoticeResult::Ignored;
    for (const HidNotice& notice : notices) {
        EXPECT_EQ(notice.event, HidNotice::Event::Removal);
        if (link.onDeviceChange(notice) == DeviceLink::NoticeResult::Removed) {
            outcome = DeviceLink::NoticeResult::Removed;
        }
    }
    EXPECT_EQ(outcome, DeviceLink::NoticeResult::Removed);
    EXPECT_FALSE(link.connected());

    // Plugging it back in delivers arrival; rediscovery finds it again.
    mouse.command("plug");
    std::vector<HidNotice> arrivals;
    while (arrivals.size() < 3 && readableWithin(bus.noticeDescriptor(), 5000)) {
        const auto more = bus.takeNotices();
        arrivals.insert(arrivals.end(), more.begin(), more.end());
    }
    ASSERT_EQ(arrivals.size(), 3u);
    for (const HidNotice& notice : arrivals) {
        EXPECT_EQ(notice.event, HidNotice::Event::Arrival);
        link.onDeviceChange(notice);
    }
    EXPECT_TRUE(link.connected());

    // Quitting delivers the removal notice too; afterwards the notice descriptor goes quiet.
    mouse.command("quit");
    EXPECT_EQ(mouse.finish(), 0);
    std::vector<HidNotice> last;
    while (last.size() < 3 && readableWithin(bus.noticeDescriptor(), 5000)) {
        const auto more = bus.takeNotices();
        last.insert(last.end(), more.begin(), more.end());
    }
    ASSERT_EQ(last.size(), 3u);
    EXPECT_EQ(last[2].event, HidNotice::Event::Removal);
    bus.takeNotices(); // sees the end of the connection
    EXPECT_FALSE(readableWithin(bus.noticeDescriptor(), 0));
}

TEST(VirtualHidBus, CancelWakesABlockedRead) {
    const std::string socket = VirtualMouseProcess::socketPathFor("cancel");
    VirtualMouseProcess mouse(socket);
    ASSERT_TRUE(mouse.started());
    VirtualHidBus bus(socket);
    DeviceLink link(bus);
    ASSERT_TRUE(link.discover());
    std::atomic<int> result{0};
    std::thread reader([&] {
        std::array<std::uint8_t, 64> buffer{};
        result = link.readReport(buffer);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    link.cancelReads();
    reader.join();
    EXPECT_EQ(result.load(), -1);
}

TEST(VirtualHidBus, OddReportLengthsAreReportedNotUsed) {
    const std::string socket = VirtualMouseProcess::socketPathFor("odd");
    VirtualMouseProcess mouse(socket, {"--input-length", "3", "--feature-length", "300"});
    ASSERT_TRUE(mouse.started());
    VirtualHidBus bus(socket);
    DeviceLink link(bus);
    EXPECT_TRUE(link.discover());
    EXPECT_NE(link.problem().find("3-byte"), std::string::npos);
    EXPECT_NE(link.problem().find("300-byte"), std::string::npos);
    const std::array<std::uint8_t, 4> reset{7, 0x20, 0, 0};
    EXPECT_EQ(link.sendFeature(reset), FeatureSendResult::Failed);
}

// Another user's virtual mouse, listening where the driver looks, gets no connection of the
// driver's: no report reaches it, none of its presses reach the driver.
TEST(VirtualHidBus, RefusesAVirtualMouseRunByAnotherUser) {
    if (getuid() != 0 || access("/usr/bin/setpriv", X_OK) != 0) {
        GTEST_SKIP() << "needs root and setpriv to run the virtual mouse as another user";
    }
    test::TempFolder shared;
    ASSERT_EQ(chmod(shared.path().c_str(), 01777), 0);
    const std::string socket = shared / "mouse.sock";
    VirtualMouseProcess other(
        socket, {}, {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"});
    ASSERT_TRUE(other.started());
    struct stat info {};
    ASSERT_EQ(stat(socket.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 65534u);
    EXPECT_EQ(info.st_mode & 077, 0u); // bound with umask 077

    ::testing::internal::CaptureStderr();
    VirtualHidBus bus(socket);
    EXPECT_TRUE(bus.enumerate().empty());
    EXPECT_EQ(bus.openForWriting("virtual-mouse/hid2"), nullptr);
    HidInterfaceInfo input;
    input.path = "virtual-mouse/hid1";
    EXPECT_EQ(bus.openForReading(input), nullptr);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(said, "veldran-driver: refusing the virtual mouse at " + socket +
                        ": it runs as uid 65534, not this user\n");
    other.command("press 3");
    EXPECT_TRUE(other.waitForLine("# press of slot 3: 06 f3 00 00 00 00 00 00 to 0 reader(s)"));
}

// A peer that floods the notice connection: each wake-up of the event loop reads a bounded
// amount, and the flood ends the connection instead of being queued.
TEST(VirtualHidBus, ANoticeFloodIsReadInBoundedStepsAndDropsTheConnection) {
    test::TempFolder folder;
    const std::string path = folder / "flood.sock";
    const int listener = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(listener, 4), 0);
    std::thread flood([listener] {
        const int peer = accept(listener, nullptr, nullptr); // the bus's notice connection
        std::string lines;
        for (int i = 0; i < 2000; ++i) {
            lines += "arrival virtual-mouse/hid1\n";
        }
        while (send(peer, lines.data(), lines.size(), MSG_NOSIGNAL) > 0) {
        }
        close(peer);
    });
    VirtualHidBus bus(path);
    const int fd = bus.noticeDescriptor();
    ASSERT_TRUE(readableWithin(fd, 5000));
    ::testing::internal::CaptureStderr();
    EXPECT_TRUE(bus.takeNotices().empty());
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("flood of notices"), std::string::npos);
    flood.join(); // the flood ends when the bus has closed its end
    EXPECT_FALSE(readableWithin(fd, 0));
    close(listener);
}

} // namespace
} // namespace veldran
