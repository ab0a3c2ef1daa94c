// The recording step on a fake clock, for what the main window's tests do not reach: repeats and
// codes that are not recorded, the 40-event limit, pauses past 65535 ms and across midnight, the
// side-seen modifiers across recordings, and a session without key capture.
#include "macro/MacroRecorder.h"

#include "fakes/FakeClock.h"
#include "fakes/FakeKeyboardHook.h"

#include <gtest/gtest.h>
#include <vector>

namespace veldran {
namespace {

using namespace std::chrono_literals;

class MacroRecorderTest : public ::testing::Test {
protected:
    MacroRecorderTest() { table.setCount(3); }

    // Events 0 to n - 1 of record, n being its count.
    std::vector<MacroEvent> events(int record) {
        const MacroRecord r = table.snapshot(record);
        std::vector<MacroEvent> out;
        for (int k = 0; k < r.eventCount; ++k) {
            out.push_back(r.event(k));
        }
        return out;
    }
    MacroRecorder::Step own(std::uint32_t message, std::uint8_t code) {
        return recorder.recordKey(KeyMessage{message, code});
    }

    MacroTable table;
    MacroEditorState editor;
    fakes::FakeClock clock;
    fakes::FakeKeyboardHook hook;
    MacroRecorder recorder{table, editor, clock, &hook};
};

TEST_F(MacroRecorderTest, RepeatsAndHighCodesAreDroppedAndFortyEventsFit) {
    recorder.toggle(0, "Long");
    hook.press(0x41);
    clock.advance(30ms);
    hook.press(0x41); // auto-repeat of the held key
    hook.press(0xF0); // the mouse-button codes are not keys
    clock.advance(20ms);
    hook.release(0x41);
    for (int i = 1; i < 21; ++i) {
        hook.key(WM_SYSKEYDOWN, static_cast<std::uint8_t>(0x41 + i));
        hook.key(WM_SYSKEYUP, static_cast<std::uint8_t>(0x41 + i));
    }
    // The 40th event ended the recording as Stop does.
    EXPECT_FALSE(recorder.recording());
    EXPECT_FALSE(recorder.captureInstalled());
    const std::vector<MacroEvent> recorded = events(0);
    ASSERT_EQ(recorded.size(), 40u);
    EXPECT_EQ(recorded[0], (MacroEvent{0x41, 1, 50}));
    EXPECT_EQ(recorded[1], (MacroEvent{0x41, 2, 0}));
    EXPECT_EQ(recorded[39], (MacroEvent{0x54, 2, 0})); // the 20th key; the 21st left no trace
    EXPECT_EQ(table.snapshot(0).event(40), MacroEvent{});
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
    EXPECT_EQ(events(0), (std::vector<MacroEvent>{
                             {0x41, 1, 65535}, {0x41, 2, 65535}, {0x42, 1, 25}, {0x42, 2, 0}}));
}

TEST_F(MacroRecorderTest, SideSpecificModifiersHideTheGenericOnesForTheRestOfTheProgram) {
    recorder.toggle(0, "M");
    // Before any side has been seen, the window's generic Ctrl is recorded.
    EXPECT_EQ(own(WM_KEYDOWN, 0x11), MacroRecorder::Step::Continue);
    hook.press(0xA0);
    EXPECT_EQ(own(WM_KEYDOWN, 0x10), MacroRecorder::Step::PassOn);
    recorder.toggle(0, "M");
    EXPECT_EQ(events(0), (std::vector<MacroEvent>{{0x11, 1, 0}, {0xA0, 1, 0}}));

    // A later recording still skips the generic shift, and right alt hides generic alt.
    recorder.toggle(2, "N");
    own(WM_KEYUP, 0x10);
    hook.key(WM_SYSKEYDOWN, 0xA5);
    own(WM_SYSKEYDOWN, 0x12);
    recorder.toggle(2, "N");
    EXPECT_EQ(events(2), (std::vector<MacroEvent>{{0xA5, 1, 0}}));
}

TEST(MacroRecorderWithoutCapture, RecordsTheWindowsOwnKeysAndCountsOnlyAtStop) {
    MacroTable table;
    MacroEditorState editor;
    fakes::FakeClock clock;
    fakes::FakeKeyboardHook hook;
    hook.available = false;
    MacroRecorder recorder{table, editor, clock, &hook};
    recorder.toggle(0, "Own");
    EXPECT_TRUE(recorder.recording());
    EXPECT_FALSE(recorder.captureInstalled());
    recorder.recordKey({WM_KEYDOWN, 0x0D});
    clock.advance(40ms);
    recorder.recordKey({WM_KEYUP, 0x0D});
    // Playback reads the count: it stays 0 until Stop, so a half-made macro plays nothing.
    EXPECT_EQ(table.snapshot(0).eventCount, 0);
    recorder.toggle(0, "Own");
    const MacroRecord record = table.snapshot(0);
    EXPECT_EQ(record.eventCount, 2);
    EXPECT_EQ(record.event(0), (MacroEvent{0x0D, 1, 40}));
    EXPECT_EQ(hook.stops, 0); // nothing was installed, so nothing is removed
}

} // namespace
} // namespace veldran
