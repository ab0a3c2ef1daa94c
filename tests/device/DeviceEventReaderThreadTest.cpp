// The reader as a thread: it copes with no mouse, acts on every press once and in order while
// the user-interface thread changes the profile and the macros, and stops promptly at exit.
#include "config/FunctionCode.h"
#include "device/DeviceEventReaderRig.h"

#include <atomic>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace veldran {
namespace {

using testing::pressReport;
using testing::ReaderRig;
using testing::waitFor;

TEST(DeviceEventReaderThreadTest, StartsWithoutAMouseAndActsOnceItIsFound) {
    ReaderRig<SystemClock> rig;
    rig.model.applied.setCode(1, 26);
    rig.reader.start();
    std::this_thread::sleep_for(std::chrono::milliseconds(20)); // reads fail and are retried

    rig.connect();
    ASSERT_TRUE(waitFor([&] { return rig.bus.lastReader() != nullptr; }));
    rig.bus.lastReader()->push(pressReport(1));
    EXPECT_TRUE(waitFor([&] { return rig.input.events().size() == 2; }));
    rig.reader.stop();
    EXPECT_THAT(rig.input.events(), ::testing::ElementsAre("down 173 0", "up 173 0"));
}

TEST(DeviceEventReaderThreadTest, StopWakesABlockedReadAndIsIdempotent) {
    ReaderRig<> rig;
    rig.connect();
    rig.reader.start();
    ASSERT_TRUE(waitFor([&] { return rig.bus.lastReader()->readsStarted() >= 1; }));
    rig.reader.stop(); // returns only once the thread has been joined
    rig.reader.stop();
    rig.reader.start(); // a stopped reader does not start again
    rig.bus.lastReader()->push(pressReport(1));
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(rig.input.events().empty());
}

// A macro in a minute-long pause keeps nobody waiting: a DPI press acts meanwhile, and the
// reader's stop ends the macro with its key released.
TEST(DeviceEventReaderThreadTest, OtherButtonsActDuringAMacroAndStopReleasesItsKeys) {
    ReaderRig<SystemClock> rig;
    rig.connect();
    rig.macros.setCount(1);
    rig.setMacro(0, {{65, 1, 60000}, {65, 2, 0}});
    rig.model.applied.setCode(1, 41);
    rig.model.applied.setCode(2, 17);
    rig.model.applied.dpiActions[1] = static_cast<std::int32_t>(DpiAction::StepUp);
    rig.reader.start();
    ASSERT_TRUE(waitFor([&] { return rig.bus.lastReader() != nullptr; }));
    rig.bus.lastReader()->push(pressReport(1));
    ASSERT_TRUE(waitFor([&] { return !rig.input.events().empty(); }));
    rig.bus.lastReader()->push(pressReport(2));
    ASSERT_TRUE(waitFor([&] { return !rig.bus.sent().empty(); }));
    EXPECT_TRUE(rig.reader.macroPlayer().playing());
    rig.reader.stop();
    EXPECT_FALSE(rig.reader.macroPlayer().playing());
    EXPECT_THAT(rig.input.events(), ::testing::ElementsAre("down 65 1065", "up 65 1065"));
}

// Thousands of presses while the user-interface thread keeps changing the rest of the profile
// and rewriting the played macro: every press is carried out exactly once, and each macro is
// played from one consistent copy of its record.
TEST(DeviceEventReaderThreadTest, EveryPressActedOnOnceWhileTheProfileIsEdited) {
    constexpr int kRounds = 1500;
    ReaderRig<> rig;
    rig.connect();
    rig.model.applied.setCode(1, 31); // Ctrl+C: 4 events
    rig.model.applied.setCode(2, 41); // macro 0: 2 events
    rig.model.applied.setCode(6, 6);
    rig.model.applied.dpiActions[5] = static_cast<std::int32_t>(DpiAction::Cycle); // 1 report
    rig.macros.setCount(1);
    rig.setMacro(0, {{65, 1, 0}, {65, 2, 0}});

    std::atomic<bool> done{false};
    std::thread ui([&] {
        std::uint8_t key = 65;
        for (int i = 0; !done.load(); ++i) {
            for (int slot = 3; slot <= kSlotCount; ++slot) {
                if (slot != 6) {
                    rig.model.applied.setCode(slot, (i + slot) % 30);
                }
            }
            rig.model.applied.lightMode = static_cast<std::uint8_t>(i % 4);
            rig.model.applied.stages[static_cast<std::size_t>(i % 4)].codeInForce =
                static_cast<std::uint8_t>(i % 4);
            rig.model.applied.dpiLevel = i % 4;
            key = key == 65 ? 66 : 65;
            rig.setMacro(0, {{key, 1, 0}, {key, 2, 0}});
            rig.window.repaint();
            std::this_thread::yield();
        }
    });

    rig.reader.start();
    ASSERT_TRUE(waitFor([&] { return rig.bus.lastReader() != nullptr; }));
    for (int i = 0; i < kRounds; ++i) {
        rig.bus.lastReader()->push(pressReport(1));
        rig.bus.lastReader()->push(pressReport(2));
        rig.bus.lastReader()->push(pressReport(6));
    }
    const bool finished = waitFor([&] {
        return !rig.bus.lastReader()->reportWaiting() &&
               rig.bus.sent().size() >= static_cast<std::size_t>(kRounds);
    });
    // Give a stray extra action the chance to show before the reader stops.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    rig.reader.stop();
    done = true;
    ui.join();

    ASSERT_TRUE(finished);
    EXPECT_EQ(rig.bus.sent().size(), static_cast<std::size_t>(kRounds));
    // The macros play on their own threads, beside the reader's shortcuts: the two are told
    // apart by their keys. Every Ctrl+C whole, and each macro played whole: the press and
    // release of one and the same key. Presses of the macro's button while it plays are
    // ignored (it plays once), so fewer macros play.
    std::vector<std::string> events;
    std::vector<std::string> copies;
    for (const std::string& event : rig.input.events()) {
        const bool copy =
            event.find(" 17 ") != std::string::npos || event.find(" 67 ") != std::string::npos;
        (copy ? copies : events).push_back(event);
    }
    int shortcuts = 0;
    for (std::size_t at = 0; at + 3 < copies.size(); at += 4, ++shortcuts) {
        ASSERT_EQ(copies[at], "down 17 0") << "at " << at;
        ASSERT_EQ(copies[at + 3], "up 17 0") << "at " << at;
    }
    int macrosPlayed = 0;
    for (std::size_t at = 0; at < events.size();) {
        ASSERT_LT(at + 1, events.size());
        const std::string pressed = events[at].substr(5);
        ASSERT_TRUE(pressed == "65 1065" || pressed == "66 1066") << events[at];
        ASSERT_EQ(events[at + 1], "up " + pressed) << "at " << at;
        at += 2;
        ++macrosPlayed;
    }
    EXPECT_EQ(shortcuts, kRounds);
    EXPECT_GE(macrosPlayed, 1);
    for (const auto& report : rig.bus.sent()) {
        ASSERT_GE(report.bytes.size(), 4u);
        EXPECT_EQ(report.bytes[1], 0x09);
    }
}

} // namespace
} // namespace veldran
