// The macro player: pauses run to absolute deadlines, so time spent sending input does not push
// the rest of the macro later; repeat modes; and the keys macros hold, which are released when
// a macro ends, however it ends, and only when no other macro still holds them.
#include "config/MacroRepeat.h"
#include "device/MacroPlayer.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeInputSynth.h"
#include "platform/InputSynth.h"

#include <algorithm>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <thread>

namespace veldran {
namespace {

using std::chrono::milliseconds;
using ::testing::ElementsAre;

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

long elapsed(fakes::FakeClock& clock) {
    return static_cast<long>(
        std::chrono::duration_cast<milliseconds>(clock.now().time_since_epoch()).count());
}

TEST(DeviceEventReaderMacroPlayerTest, InputTimeDoesNotAddUpOverTheMacroNorOverItsPasses) {
    fakes::FakeClock clock;
    SlowInput input(clock);
    HeldInput held(input);
    WakeFlag stop;

    MacroPlayer::playPasses(held, clock, 1,
                            recordOf({{65, 1, 50}, {65, 2, 50}, {66, 1, 0}, {66, 2, 20}}), 2, stop);

    // The third and fourth events have no pause between them: the fourth waits only for the
    // third's 3 ms of sending. The second pass starts when the first pass's 120 ms are over.
    EXPECT_THAT(input.sentAt, ElementsAre(0, 50, 100, 103, 120, 170, 220, 223));
    // The pause after the last event is kept.
    EXPECT_EQ(elapsed(clock), 240);
}

TEST(DeviceEventReaderMacroPlayerTest, AShortPassIsFollowedByTheLeastPassTimeAndStopEndsIt) {
    fakes::FakeClock clock;
    fakes::FakeInputSynth input;
    HeldInput held(input);
    WakeFlag stop;
    MacroPlayer::playPasses(held, clock, 1, recordOf({{65, 1, 0}, {65, 2, 2}}), 3, stop);
    // 2 ms a pass, then 10 ms more between passes; none after the last.
    EXPECT_EQ(elapsed(clock), 2 + 10 + 2 + 10 + 2);
    EXPECT_EQ(input.events().size(), 6u);

    stop.set();
    input.clear();
    MacroPlayer::playPasses(held, clock, 1, recordOf({{65, 1, 10}}), kRepeatLoop, stop);
    EXPECT_TRUE(input.events().empty());
}

TEST(DeviceEventReaderMacroPlayerTest, AKeyTwoMacrosHoldGoesUpWhenTheLastLetsGo) {
    fakes::FakeInputSynth input;
    HeldInput held(input);
    held.press(1, 16);  // macro 1: Shift
    held.press(1, 65);  // A
    held.press(1, 250); // the middle button (any code from 242 on)
    held.press(2, 16);  // macro 2: Shift as well
    held.release(1, 16);
    held.release(2, 67); // never pressed by macro 2: sent as it is
    EXPECT_THAT(held.heldBy(1), ElementsAre(65, 242));
    input.clear();

    held.releaseAll(1); // last pressed first; Shift is no longer macro 1's
    EXPECT_THAT(input.events(), ElementsAre("mouse middle up", "up 65 1065"));
    held.releaseAll(2); // macro 2 was the last to hold Shift
    EXPECT_THAT(input.events(), ElementsAre("mouse middle up", "up 65 1065", "up 16 1016"));
    EXPECT_FALSE(held.anyHeld());
}

TEST(DeviceEventReaderMacroPlayerTest, RepeatModesDecideWhatAPressDuringPlaybackDoes) {
    fakes::FakeClock clock;
    fakes::FakeInputSynth input;
    MacroPlayer player(input, clock);
    const MacroRecord endsOnAPress = recordOf({{65, 1, 5}, {65, 2, 5}, {66, 1, 5}});

    player.press(0, endsOnAPress, 3);
    ASSERT_TRUE(player.waitUntilIdle());
    // Three passes; B, pressed on every pass and never released, goes up once at the end.
    EXPECT_THAT(input.events(),
                ElementsAre("down 65 1065", "up 65 1065", "down 66 1066", "down 65 1065",
                            "up 65 1065", "down 66 1066", "down 65 1065", "up 65 1065",
                            "down 66 1066", "up 66 1066"));

    // A loop runs until its button is pressed again, and then lets go of what it holds.
    input.clear();
    player.press(1, endsOnAPress, kRepeatLoop);
    EXPECT_TRUE(player.playing());
    while (input.events().size() < 30) {
        std::this_thread::yield();
    }
    player.press(1, endsOnAPress, kRepeatLoop);
    ASSERT_TRUE(player.waitUntilIdle());
    EXPECT_FALSE(player.playing());
    const auto events = input.events();
    EXPECT_EQ(events.back(), "up 66 1066");
    EXPECT_EQ(std::count(events.begin(), events.end(), "up 66 1066"), 1);

    // On the real clock, a macro that plays once ignores its button; a stop of all of them
    // leaves nothing down, at once.
    input.clear();
    SystemClock realClock;
    MacroPlayer realPlayer(input, realClock);
    const MacroRecord longPause = recordOf({{17, 1, 60000}, {17, 2, 0}});
    realPlayer.press(2, longPause, kRepeatOnce);
    while (input.events().empty()) {
        std::this_thread::yield();
    }
    realPlayer.press(2, longPause, kRepeatOnce);
    realPlayer.stopAll();
    EXPECT_THAT(input.events(), ElementsAre("down 17 1017", "up 17 1017"));
}

} // namespace
} // namespace veldran
