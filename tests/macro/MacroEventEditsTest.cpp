// The context menu's edits of a record at their limits (a full macro, a hand-edited count, an
// empty macro), and the number a typed pause line gives and how it is stored. The everyday
// inserts and deletes are tested through the menu on the main window.
#include "macro/MacroEventEdits.h"

#include <gtest/gtest.h>
#include <vector>

namespace veldran {
namespace {

MacroRecord recordOf(const std::vector<MacroEvent>& events) {
    MacroRecord record;
    for (std::size_t k = 0; k < events.size(); ++k) {
        record.setEvent(static_cast<int>(k), events[k]);
    }
    record.eventCount = static_cast<std::uint8_t>(events.size());
    return record;
}

TEST(MacroEventEdits, InsertIntoAFullMacroKeepsFortyAndDropsTheLast) {
    std::vector<MacroEvent> forty;
    for (int k = 0; k < 40; ++k) {
        forty.push_back({static_cast<std::uint8_t>(0x41 + k % 26), 1, static_cast<uint16_t>(k)});
    }
    MacroRecord record = recordOf(forty);
    record.setEvent(40, {0x99, 9, 999}); // the spare slot stays as it is
    insertMacroEvent(record, 0, kMiddleButtonCode, 1);
    ASSERT_EQ(record.eventCount, 40);
    EXPECT_EQ(record.event(0), (MacroEvent{0xF2, 1, 0}));
    EXPECT_EQ(record.event(1), forty[0]);
    EXPECT_EQ(record.event(39), forty[38]);
    EXPECT_EQ(record.event(40), (MacroEvent{0x99, 9, 999}));

    // A hand-edited count beyond the record is brought back to 40 as well.
    MacroRecord odd = recordOf(forty);
    odd.eventCount = 200;
    insertMacroEvent(odd, 39, kLeftButtonCode, 2);
    EXPECT_EQ(odd.eventCount, 40);
    EXPECT_EQ(odd.event(39), (MacroEvent{0xF0, 2, 0}));

    // Deleting from an empty macro leaves it empty.
    MacroRecord empty;
    deleteMacroEvent(empty, 0);
    EXPECT_EQ(empty.eventCount, 0);
}

TEST(MacroEventEdits, PauseTextReadLenientlyAndStoredByItsTwoBytes) {
    EXPECT_EQ(pauseValueOf("  250ms"), 250);
    EXPECT_EQ(pauseValueOf("250"), 250);
    EXPECT_EQ(pauseValueOf(" 12ms34"), 12);
    EXPECT_EQ(pauseValueOf("-5ms"), -5);
    EXPECT_EQ(pauseValueOf("abc"), 0);
    EXPECT_EQ(pauseValueOf("[Down]A"), 0);
    EXPECT_EQ(pauseValueOf("99999999999999"), 2147483647);

    MacroRecord record = recordOf({{0x41, 1, 120}, {0x41, 2, 0}});
    const std::pair<std::int32_t, std::uint16_t> stored[] = {
        {250, 250}, {65535, 65535}, {65536, 0}, {-5, 251}, {0, 0}, {300, 300}};
    for (const auto& [value, pause] : stored) {
        storeMacroPause(record, 0, value);
        EXPECT_EQ(record.event(0).pause, pause) << value;
        EXPECT_EQ(record.event(0).code, 0x41);
        EXPECT_EQ(record.event(1).pause, 0);
    }
}

} // namespace
} // namespace veldran
