// The in-memory macro record: its name field, its events and the table's snapshot and count.
#include "config/MacroTable.h"

#include <cstring>
#include <gtest/gtest.h>
#include <thread>

namespace veldran {
namespace {

TEST(MacroRecordName, RoundTripsUtf8AndStaysWithinItsField) {
    MacroRecord r;
    r.setName("Macro1");
    EXPECT_EQ(r.nameUtf8(), "Macro1");
    EXPECT_EQ(r.name[0], 'M');
    EXPECT_EQ(r.name[1], 0);
    EXPECT_EQ(r.name[12], 0);

    r.setName("宋体 😀");
    EXPECT_EQ(r.nameUtf8(), "宋体 😀");
    EXPECT_EQ(r.name[0], 0x8B); // U+5B8B, little-endian
    EXPECT_EQ(r.name[1], 0x5B);

    // 19 units at most, so that the terminator always fits; a shorter name clears the rest.
    r.setName(std::string(30, 'x'));
    EXPECT_EQ(r.nameUtf8(), std::string(19, 'x'));
    r.setName("ab");
    EXPECT_EQ(r.nameUtf8(), "ab");
    EXPECT_EQ(r.name[38], 0);

    // A character outside the basic plane is never split at the end of the field.
    r.setName(std::string(18, 'y') + "😀");
    EXPECT_EQ(r.nameUtf8(), std::string(18, 'y'));
}

TEST(MacroRecordName, OddContentReadsSafely) {
    MacroRecord r;
    r.setName("a\xFF"
              "b");
    EXPECT_EQ(r.nameUtf8(), "a\xEF\xBF\xBD"
                            "b");
    // A full field without terminator ends at the field's end.
    r.name.fill('z');
    const std::string name = r.nameUtf8();
    EXPECT_FALSE(name.empty());
    EXPECT_LE(name.size(), 20u * 3u);
    // An unpaired surrogate becomes the replacement character.
    r.name.fill(0);
    r.name[0] = 0x00;
    r.name[1] = 0xD8;
    r.name[2] = 'q';
    EXPECT_EQ(r.nameUtf8(), "\xEF\xBF\xBDq");
}

TEST(MacroRecordEvents, StoreCodeActionAndLittleEndianPauseAtTheirOffsets) {
    MacroRecord r;
    r.setEvent(1, {0x41, 1, 256});
    r.setEvent(40, {240, 2, 0xABCD});
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&r);
    EXPECT_EQ(bytes[41 + 2], 0x41);
    EXPECT_EQ(bytes[42 + 2], 1);
    EXPECT_EQ(bytes[123 + 2], 0);
    EXPECT_EQ(bytes[124 + 2], 1);
    EXPECT_EQ(bytes[41 + 80], 240);
    EXPECT_EQ(bytes[123 + 80], 0xCD);
    EXPECT_EQ(bytes[124 + 80], 0xAB);
    EXPECT_EQ(r.event(1).pause, 256);
    EXPECT_EQ(r.event(40).code, 240);

    // Indexes outside the 41 events neither read nor write anything.
    const MacroRecord before = r;
    r.setEvent(41, {1, 1, 1});
    r.setEvent(-1, {1, 1, 1});
    EXPECT_EQ(std::memcmp(&before, &r, sizeof r), 0);
    EXPECT_EQ(r.event(41).code, 0);
    EXPECT_EQ(r.event(-1).pause, 0);
}

TEST(MacroRecordEvents, UsableCountNeverExceedsTheRecord) {
    MacroRecord r;
    r.eventCount = 3;
    EXPECT_EQ(r.usableEventCount(), 3);
    r.eventCount = 41;
    EXPECT_EQ(r.usableEventCount(), 41);
    r.eventCount = 255;
    EXPECT_EQ(r.usableEventCount(), 41);
}

TEST(MacroTableTest, CountStaysWithinTheMacrosAndSnapshotsStayWithinTheTable) {
    MacroTable table;
    table.setCount(5);
    EXPECT_EQ(table.count(), 5);
    table.setCount(99);
    EXPECT_EQ(table.count(), 12);
    table.setCount(-3);
    EXPECT_EQ(table.count(), 0);

    table.edit([](auto& records) { records[12].eventCount = 7; });
    EXPECT_EQ(table.snapshot(12).eventCount, 7);
    EXPECT_EQ(table.snapshot(13).eventCount, 0);
    EXPECT_EQ(table.snapshot(-1).eventCount, 0);
}

TEST(MacroTableTest, SnapshotsTakenWhileEditingAreWholeRecords) {
    MacroTable table;
    std::atomic<bool> stop{false};
    std::thread editor([&] {
        for (std::uint8_t round = 0; !stop.load(); ++round) {
            table.edit([&](auto& records) {
                records[0].eventCount = round;
                records[0].codesAndActions.fill(round);
            });
        }
    });
    for (int i = 0; i < 2000; ++i) {
        const MacroRecord r = table.snapshot(0);
        ASSERT_EQ(r.codesAndActions[40], r.eventCount);
        ASSERT_EQ(r.codesAndActions[0], r.eventCount);
    }
    stop.store(true);
    editor.join();
}

} // namespace
} // namespace veldran
