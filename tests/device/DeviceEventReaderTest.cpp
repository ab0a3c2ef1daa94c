// A press handled end to end through the reader with fakes: DPI steps and their reports, the
// armed flag, the code table, macros and the next-profile switch.
#include "config/FunctionCode.h"
#include "device/DeviceEventReaderRig.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace veldran {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::ReaderRig;
using Bytes = std::vector<std::uint8_t>;
using std::chrono::milliseconds;

class DeviceEventReaderTest : public ::testing::Test {
protected:
    void SetUp() override { rig.connect(); }
    void setSlot(int slot, std::int32_t code, DpiAction action = DpiAction::None) {
        rig.model.applied.setCode(slot, code);
        rig.model.applied.dpiActions[static_cast<std::size_t>(slot - 1)] =
            static_cast<std::int32_t>(action);
    }
    ReaderRig<> rig;
};

TEST_F(DeviceEventReaderTest, CycleAtLevelThreeWrapsToStageOneAndSendsItsReport) {
    setSlot(6, 6, DpiAction::Cycle);
    rig.model.applied.dpiLevel = 3;
    rig.model.applied.stages[0].codeInForce = 1;
    rig.model.applied.stages[0].editedCode = 2; // clicked but not applied: not sent
    const int repaintsBefore = rig.window.repaints();

    rig.press(6); // byte 1 = 246

    EXPECT_EQ(rig.model.applied.dpiLevel.load(), 0);
    EXPECT_THAT(rig.sentHeads(), ElementsAre(Bytes{0x07, 0x09, 0x00, 0x90}));
    EXPECT_GT(rig.window.repaints(), repaintsBefore);
    EXPECT_THAT(rig.input.events(), IsEmpty());
}

TEST_F(DeviceEventReaderTest, StepUpAtLevelThreeResendsLevelThree) {
    setSlot(1, 17, DpiAction::StepUp);
    rig.model.applied.dpiLevel = 3;
    rig.model.applied.stages[3].codeInForce = 0;
    rig.model.applied.lightMode = 2;

    rig.press(1);
    rig.press(1);

    EXPECT_EQ(rig.model.applied.dpiLevel.load(), 3);
    EXPECT_THAT(rig.sentHeads(),
                ElementsAre(Bytes{0x07, 0x09, 0x03, 0x82}, Bytes{0x07, 0x09, 0x03, 0x82}));
}

TEST_F(DeviceEventReaderTest, DpiActionComesBeforeMacroAndCodeTable) {
    rig.macros.setCount(1);
    rig.setMacro(0, {{65, 1, 0}});
    setSlot(4, 41, DpiAction::StepDown); // slot 4 reports identifier 5, byte 245
    rig.model.applied.dpiLevel = 2;

    rig.send({0x05, 245, 0, 0});

    EXPECT_EQ(rig.model.applied.dpiLevel.load(), 1);
    EXPECT_EQ(rig.sentHeads().size(), 1u);
    EXPECT_THAT(rig.input.events(), IsEmpty());
}

TEST_F(DeviceEventReaderTest, DisarmedAfterApplyUntilTheRearmingReport) {
    rig.model.profile.setCode(3, 31); // the window's Apply makes it the mouse's
    rig.protocol.apply();
    ASSERT_FALSE(rig.model.runtime.armed.load());
    const int repaintsBefore = rig.window.repaints();

    rig.press(3);
    EXPECT_THAT(rig.input.events(), IsEmpty());

    rig.send(testing::rearmReport());
    EXPECT_TRUE(rig.model.runtime.armed.load());
    EXPECT_EQ(rig.window.repaints(), repaintsBefore + 1);

    rig.press(3);
    EXPECT_THAT(rig.input.events(),
                ElementsAre("down 17 0", "down 67 1067", "up 67 1067", "up 17 0"));
    EXPECT_THAT(rig.clock.pauses(), ElementsAre(milliseconds(20)));
}

TEST_F(DeviceEventReaderTest, RearmingReportWhileArmedAndOddReportsDoNothing) {
    setSlot(1, 33);
    const int repaintsBefore = rig.window.repaints();
    rig.send(testing::rearmReport());
    rig.send({0x05});             // too short to hold an event
    rig.send({0x05, 247, 0, 0});  // identifier 7 belongs to no slot
    rig.send({0x06, 0x01, 0, 0}); // neither a press nor the re-arming report
    rig.reader.handleReport(nullptr, 8);
    EXPECT_EQ(rig.window.repaints(), repaintsBefore);
    EXPECT_THAT(rig.input.events(), IsEmpty());

    // A press arrives whatever the report id is, and a long report is read like a short one.
    Bytes longReport(256, 0);
    longReport[1] = 241;
    rig.send(longReport);
    EXPECT_EQ(rig.input.events().size(), 4u);
}

TEST_F(DeviceEventReaderTest, ShortcutsMuteAndDesktopActions) {
    const std::vector<std::pair<std::int32_t, std::vector<std::string>>> keys = {
        {26, {"down 173 0", "up 173 0"}},
        {32, {"down 17 0", "down 86 1086", "up 86 1086", "up 17 0"}},
        {33, {"down 17 0", "down 65 1065", "up 65 1065", "up 17 0"}},
        {34, {"down 17 0", "down 90 1090", "up 90 1090", "up 17 0"}},
        {35, {"down 18 0", "down 115 1115", "up 115 1115", "up 18 0"}},
    };
    for (const auto& [code, expected] : keys) {
        rig.input.clear();
        setSlot(2, code);
        rig.press(2);
        EXPECT_EQ(rig.input.events(), expected) << "code " << code;
    }
    // Only the Ctrl shortcuts hold their letter for 20 ms; mute and Alt+F4 do not pause.
    EXPECT_THAT(rig.clock.pauses(),
                ElementsAre(milliseconds(20), milliseconds(20), milliseconds(20)));

    for (std::int32_t code : {36, 37, 38, 39}) {
        setSlot(7, code);
        rig.press(7);
        rig.press(7); // a press flood starts one program, not one a press
        rig.clock.advance(DeviceEventReader::kProgramInterval - std::chrono::milliseconds(1));
        rig.press(7);
        rig.clock.advance(std::chrono::milliseconds(1));
    }
    EXPECT_THAT(rig.shell.actions(), ElementsAre("root", "lock", "calculator", "terminal"));
    // Each button has its own interval; keys are not limited.
    setSlot(6, 39);
    rig.press(6);
    rig.input.clear();
    setSlot(2, 31);
    rig.press(2);
    rig.press(2);
    EXPECT_THAT(rig.shell.actions(),
                ElementsAre("root", "lock", "calculator", "terminal", "terminal"));
    EXPECT_EQ(rig.input.events().size(), 8u);
}

TEST_F(DeviceEventReaderTest, CodesWithoutAnActionDoNothing) {
    rig.macros.setCount(2);
    for (std::int32_t code : {0, 5, 19, 20, 27, 30, 43, 52, 53, 200, -3}) {
        setSlot(5, code);
        rig.press(5);
    }
    EXPECT_THAT(rig.input.events(), IsEmpty());
    EXPECT_THAT(rig.shell.actions(), IsEmpty());
    EXPECT_THAT(rig.sentHeads(), IsEmpty());
    EXPECT_EQ(rig.window.uiRuns(), 0);
}

TEST_F(DeviceEventReaderTest, MacroPressesAndReleasesFiftyMillisecondsApart) {
    rig.macros.setCount(1);
    rig.setMacro(0, {{65, 1, 50}, {65, 2, 0}});
    setSlot(1, 41);

    rig.press(1);

    EXPECT_THAT(rig.input.events(), ElementsAre("down 65 1065", "up 65 1065"));
    EXPECT_THAT(rig.clock.pauses(), ElementsAre(milliseconds(50), milliseconds(0)));
}

TEST_F(DeviceEventReaderTest, MacroMouseButtonsAndOtherActions) {
    rig.macros.setCount(3);
    rig.setMacro(2, {{241, 1, 0},
                     {241, 2, 0},
                     {250, 1, 0},
                     {250, 2, 0},
                     {240, 1, 0},
                     {240, 2, 0},
                     {66, 0, 7},
                     {66, 3, 9}});
    setSlot(2, 43);

    rig.press(2);

    EXPECT_THAT(rig.input.events(),
                ElementsAre("mouse right down", "mouse right up", "mouse middle down",
                            "mouse middle up", "mouse left down", "mouse left up"));
    // Events with another action give no input but keep their pauses.
    const auto pauses = rig.clock.pauses();
    ASSERT_EQ(pauses.size(), 8u);
    EXPECT_EQ(pauses[6], milliseconds(7));
    EXPECT_EQ(pauses[7], milliseconds(9));
}

TEST_F(DeviceEventReaderTest, MacroEventCountIsBoundedByTheRecord) {
    rig.macros.setCount(1);
    rig.macros.edit([](auto& records) {
        records[0].eventCount = 200; // hand-edited Macro.dat
        for (int k = 0; k < kMacroEventCapacity; ++k) {
            records[0].setEvent(k, {66, 1, 1});
        }
    });
    setSlot(1, 41);
    rig.press(1);
    // 41 presses of B, and the release of B that the macro's end leaves nothing held with.
    const auto events = rig.input.events();
    ASSERT_EQ(events.size(), static_cast<std::size_t>(kMacroEventCapacity) + 1);
    EXPECT_EQ(events.back(), "up 66 1066");
}

TEST_F(DeviceEventReaderTest, MacroCodeBeyondTheCountDoesNothingAndMacrosBeyondTwelveAreNot) {
    rig.setMacro(0, {{65, 1, 0}});
    setSlot(1, 41);
    rig.press(1);             // no macros yet
    rig.macros.setCount(100); // a count no table holds
    setSlot(1, 41 + 12);      // would be the blank template record
    rig.press(1);
    EXPECT_THAT(rig.input.events(), IsEmpty());
}

TEST_F(DeviceEventReaderTest, NextProfileIsHandedToTheUiThreadWithThePressedSlot) {
    std::vector<int> cycled;
    rig.reader.setProfileCycle([&cycled](int slot) { cycled.push_back(slot); });
    setSlot(5, 40);

    rig.press(5); // slot 5 carries identifier 4: byte 244

    EXPECT_EQ(rig.window.uiRuns(), 1);
    EXPECT_THAT(cycled, ElementsAre(5));
    EXPECT_THAT(rig.sentHeads(), IsEmpty()); // the switch sends, not the reader
}

} // namespace
} // namespace veldran
