// Macro timing: pauses run to absolute deadlines, so time spent sending input does not push the
// rest of the macro later; long pauses are sliced without changing when the next event comes.
#include "device/MacroPlayer.h"
#include "fakes/FakeClock.h"
#include "platform/InputSynth.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace veldran {
namespace {

using std::chrono::milliseconds;

// Input that takes 3 ms of (fake) time per event and notes when each event was sent.
class SlowInput final : public InputSynth {
public:
    explicit SlowInput(fakes::FakeClock& clock) : clock_(clock) {}
    std::uint16_t scanCode(std::uint8_t) override { return 0; }
    void keyDown(std::uint8_t, std::uint16_t) override { note(); }
    void keyUp(std::uint8_t, std::uint16_t) override { note(); }
    void mouseButton(MouseButton, bool) override { note(); }
    std::vector<long> sentAt; // milliseconds since the start

private:
    void note() {
        sentAt.push_back(static_cast<long>(
            std::chrono::duration_cast<milliseconds>(clock_.now().time_since_epoch()).count()));
        clock_.advance(milliseconds(3));
    }
    fakes::FakeClock& clock_;
};

MacroRecord recordOf(const std::vector<MacroEvent>& events) {
    MacroRecord record;
    record.eventCount = static_cast<std::uint8_t>(events.size());
    for (std::size_t k = 0; k < events.size(); ++k) {
        record.setEvent(static_cast<int>(k), events[k]);
    }
    return record;
}

TEST(DeviceEventReaderMacroPlayerTest, InputTimeDoesNotAddUpOverTheMacro) {
    fakes::FakeClock clock;
    SlowInput input(clock);
    MacroPlayer player(input, clock);
    std::atomic<bool> stop{false};

    player.play(recordOf({{65, 1, 50}, {65, 2, 50}, {66, 1, 0}, {66, 2, 20}}), stop);

    // The last two events have no pause between them: the fourth waits only for the third's
    // 3 ms of sending.
    EXPECT_THAT(input.sentAt, ::testing::ElementsAre(0, 50, 100, 103));
    // The pause after the last event is kept: the macro ends 120 ms after it started.
    EXPECT_EQ(std::chrono::duration_cast<milliseconds>(clock.now().time_since_epoch()).count(),
              120);
}

TEST(DeviceEventReaderMacroPlayerTest, LongPausesAreSlicedButEndOnTime) {
    fakes::FakeClock clock;
    SlowInput input(clock);
    MacroPlayer player(input, clock);
    std::atomic<bool> stop{false};

    player.play(recordOf({{65, 1, 250}, {65, 2, 0}}), stop);

    EXPECT_THAT(input.sentAt, ::testing::ElementsAre(0, 250));
    for (const auto pause : clock.pauses()) {
        EXPECT_LE(pause, MacroPlayer::kPauseSlice);
    }
}

TEST(DeviceEventReaderMacroPlayerTest, NothingIsPlayedOnceStopIsSetAndEmptyRecordsArePauseFree) {
    fakes::FakeClock clock;
    SlowInput input(clock);
    MacroPlayer player(input, clock);
    std::atomic<bool> stop{false};
    player.play(MacroRecord{}, stop);
    EXPECT_TRUE(clock.pauses().empty());

    stop = true;
    player.play(recordOf({{65, 1, 10}}), stop);
    EXPECT_TRUE(input.sentAt.empty());
}

} // namespace
} // namespace veldran
