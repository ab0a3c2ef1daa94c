// Recording into a macro record from a fake key capture and the window's own key messages, on a
// fake clock: what lands in the record (codes, actions, pauses, count, name) and when the
// capture is installed.
#include "macro/MacroRecorder.h"

#include "fakes/FakeClock.h"
#include "fakes/FakeKeyboardHook.h"

#include <gtest/gtest.h>
#include <vector>

namespace veldran {
namespace {

using namespace std::chrono_literals;

struct Recorded {
    int code;
    int action;
    int pause;
    bool operator==(const Recorded&) const = default;
};

class MacroRecorderTest : public ::testing::Test {
protected:
    MacroRecorderTest() {
        recorder.setEventList({[this] { ++clears; },
                               [this](int record, int event) {
                                   appended.push_back({record, event});
                               }});
        table.setCount(3);
    }

    // Events 0 to n - 1 of record, n being its count, or explicitly given.
    std::vector<Recorded> events(int record, int n = -1) {
        const MacroRecord r = table.snapshot(record);
        if (n < 0) {
            n = r.eventCount;
        }
        std::vector<Recorded> out;
        for (int k = 0; k < n; ++k) {
            const MacroEvent e = r.event(k);
            out.push_back({e.code, e.action, e.pause});
        }
        return out;
    }
    // The window's own key message, as the pre-filter hands it on.
    MacroRecorder::Step own(std::uint32_t message, std::uint8_t code) {
        return recorder.recordKey(KeyMessage{message, code});
    }
    void tap(std::uint8_t code, std::chrono::milliseconds hold = 50ms) {
        hook.press(code);
        clock.advance(hold);
        hook.release(code);
    }

    MacroTable table;
    MacroEditorState editor;
    fakes::FakeClock clock;
    fakes::FakeKeyboardHook hook;
    MacroRecorder recorder{table, editor, clock, &hook};
    int clears = 0;
    std::vector<std::pair<int, int>> appended;
};

TEST_F(MacroRecorderTest, RecordsCapturedKeysWithThePauseBeforeEach) {
    recorder.toggle(1, "Combo");
    clock.advance(1000ms);
    hook.press(0x41);
    clock.advance(120ms);
    hook.press(0x41); // auto-repeat of the held key
    clock.advance(30ms);
    hook.press(0x41);
    clock.advance(250ms);
    hook.release(0x41);
    clock.advance(300ms);
    hook.key(WM_SYSKEYDOWN, 0x73);
    recorder.toggle(1, "Combo");

    EXPECT_EQ(events(1), (std::vector<Recorded>{{0x41, 1, 400}, {0x41, 2, 300}, {0x73, 1, 0}}));
    EXPECT_EQ(table.snapshot(1).nameUtf8(), "Combo");
    EXPECT_EQ(appended, (std::vector<std::pair<int, int>>{{1, 0}, {1, 1}, {1, 2}}));
    EXPECT_EQ(clears, 1);
    EXPECT_EQ(table.snapshot(0).eventCount, 0);
    EXPECT_EQ(table.snapshot(2).eventCount, 0);
}

TEST_F(MacroRecorderTest, KeyArrivingFromCaptureAndWindowIsRecordedOnce) {
    recorder.toggle(0, "M");
    hook.press(0x42);
    own(WM_KEYDOWN, 0x42);
    clock.advance(80ms);
    own(WM_KEYUP, 0x42); // the window's copy first this time
    hook.release(0x42);
    recorder.toggle(0, "M");
    EXPECT_EQ(events(0), (std::vector<Recorded>{{0x42, 1, 80}, {0x42, 2, 0}}));
}

TEST_F(MacroRecorderTest, SideSpecificModifiersHideTheGenericOnesForTheRestOfTheProgram) {
    recorder.toggle(0, "M");
    // Before any side has been seen, the window's generic Ctrl is recorded.
    EXPECT_EQ(own(WM_KEYDOWN, 0x11), MacroRecorder::Step::Continue);
    hook.press(0xA0);
    EXPECT_EQ(own(WM_KEYDOWN, 0x10), MacroRecorder::Step::PassOn);
    hook.release(0xA0);
    EXPECT_EQ(own(WM_KEYUP, 0x10), MacroRecorder::Step::PassOn);
    recorder.toggle(0, "M");
    EXPECT_EQ(events(0), (std::vector<Recorded>{{0x11, 1, 0}, {0xA0, 1, 0}, {0xA0, 2, 0}}));

    // A later recording still skips the generic shift, and right alt hides generic alt.
    recorder.toggle(2, "N");
    own(WM_KEYDOWN, 0x10);
    hook.key(WM_SYSKEYDOWN, 0xA5);
    own(WM_SYSKEYDOWN, 0x12);
    own(WM_KEYUP, 0x10);
    recorder.toggle(2, "N");
    EXPECT_EQ(events(2), (std::vector<Recorded>{{0xA5, 1, 0}}));
}

TEST_F(MacroRecorderTest, FortyEventsAndCodesBelowDfOnly) {
    recorder.toggle(0, "Long");
    hook.press(0xDF); // not recorded
    hook.press(0xF0);
    for (int i = 0; i < 21; ++i) {
        tap(static_cast<std::uint8_t>(0x41 + i), 10ms);
        clock.advance(5ms);
    }
    recorder.toggle(0, "Long");
    const MacroRecord record = table.snapshot(0);
    EXPECT_EQ(record.eventCount, 40);
    EXPECT_EQ(appended.size(), 40u);
    EXPECT_EQ(record.event(0).code, 0x41);
    EXPECT_EQ(record.event(39), (MacroEvent{0x54, 2, 0}));
    EXPECT_EQ(record.event(38).pause, 10);
    EXPECT_EQ(record.event(40), MacroEvent{}); // the 41st key left no trace
}

TEST_F(MacroRecorderTest, PausesAreCappedAndCrossMidnight) {
    recorder.toggle(0, "T");
    hook.press(0x41);
    clock.advance(70s);
    hook.release(0x41);
    // Up to 10 ms before midnight UTC, then a key 25 ms later, on the next day.
    const auto sinceMidnight = std::chrono::milliseconds(clock.utcMillisecondsOfDay());
    clock.advance(24h - sinceMidnight - 10ms);
    hook.press(0x42);
    clock.advance(25ms);
    hook.release(0x42);
    recorder.toggle(0, "T");
    EXPECT_EQ(events(0), (std::vector<Recorded>{
                             {0x41, 1, 65535}, {0x41, 2, 65535}, {0x42, 1, 25}, {0x42, 2, 0}}));
}

TEST_F(MacroRecorderTest, NewRecordingWipesTheRecordAtOnceAndStopWritesTheCount) {
    table.edit([](auto& records) {
        records[1].setName("Old name that was long");
        records[1].eventCount = 3;
        records[1].setEvent(2, MacroEvent{0x43, 1, 500});
    });
    recorder.toggle(1, "Fresh");
    MacroRecord during = table.snapshot(1);
    EXPECT_EQ(during.nameUtf8(), "Fresh");
    EXPECT_EQ(during.event(2), MacroEvent{});
    tap(0x44);
    // While recording the count stays 0, so playback of this macro plays nothing half-made.
    EXPECT_EQ(table.snapshot(1).eventCount, 0);
    recorder.toggle(1, "Fresh");
    EXPECT_EQ(events(1), (std::vector<Recorded>{{0x44, 1, 50}, {0x44, 2, 0}}));
}

TEST_F(MacroRecorderTest, CaptureRunsOnlyDuringARecording) {
    EXPECT_FALSE(hook.active());
    hook.press(0x41);
    EXPECT_EQ(hook.starts, 0);
    recorder.toggle(0, "M");
    EXPECT_TRUE(hook.active());
    recorder.toggle(0, "M");
    EXPECT_FALSE(hook.active());
    hook.press(0x41);
    own(WM_KEYDOWN, 0x42); // keys after Stop are not recorded
    EXPECT_EQ(table.snapshot(0).event(0), MacroEvent{});

    recorder.toggle(0, "M");
    { MacroRecorder other{table, editor, clock, &hook}; }
    EXPECT_TRUE(hook.active()); // another recorder's end leaves this capture alone
}

TEST(MacroRecorderEnd, RecorderEndRemovesARunningCapture) {
    MacroTable table;
    MacroEditorState editor;
    fakes::FakeClock clock;
    fakes::FakeKeyboardHook hook;
    {
        MacroRecorder recorder{table, editor, clock, &hook};
        recorder.toggle(0, "M");
        hook.press(0x41);
        ASSERT_TRUE(hook.active());
    }
    EXPECT_FALSE(hook.active());
    EXPECT_EQ(table.snapshot(0).eventCount, 0); // the running recording was never counted
}

TEST(MacroRecorderWithoutCapture, RecordsTheWindowsOwnKeys) {
    MacroTable table;
    MacroEditorState editor;
    fakes::FakeClock clock;
    fakes::FakeKeyboardHook hook;
    hook.available = false;
    MacroRecorder recorder{table, editor, clock, &hook};
    recorder.toggle(0, "Own");
    EXPECT_TRUE(recorder.recording());
    recorder.recordKey({WM_KEYDOWN, 0x0D});
    clock.advance(40ms);
    recorder.recordKey({WM_KEYUP, 0x0D});
    recorder.toggle(0, "Own");
    const MacroRecord record = table.snapshot(0);
    EXPECT_EQ(record.eventCount, 2);
    EXPECT_EQ(record.event(0), (MacroEvent{0x0D, 1, 40}));
    EXPECT_FALSE(hook.active());
}

} // namespace
} // namespace veldran
