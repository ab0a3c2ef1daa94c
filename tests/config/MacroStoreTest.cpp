// Macro.dat: the field text of a record, reading and writing the file, and bad files.
#include "config/MacroStore.h"

#include "platform/ProfileStrings.h"
#include "platform/TempFolder.h"

#include <cstring>
#include <gtest/gtest.h>

namespace veldran {
namespace {

using test::readText;
using test::TempFolder;
using test::writeText;

std::string fields(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) {
        char buffer[4];
        std::snprintf(buffer, sizeof buffer, "%03d", v);
        out += buffer;
    }
    return out;
}

MacroRecord sampleRecord(const std::string& name) {
    MacroRecord r;
    r.setName(name);
    r.eventCount = 3;
    r.setEvent(0, {0x41, 1, 100});
    r.setEvent(1, {0x41, 2, 256});
    r.setEvent(2, {241, 1, 0});
    return r;
}

class MacroStoreTest : public ::testing::Test {
protected:
    void writeTable(std::initializer_list<std::string> names) {
        table_.setCount(static_cast<std::int16_t>(names.size()));
        table_.edit([&](auto& records) {
            std::size_t i = 0;
            for (const auto& name : names) {
                records[i++] = sampleRecord(name);
            }
        });
        ASSERT_TRUE(store_.write(table_));
    }

    // Reads the file as the program does at start-up, into a fresh table.
    void restart(MacroTable& table) {
        table.setCount(store_.readCount());
        EXPECT_TRUE(store_.read(table.count(), table));
    }

    TempFolder folder_;
    std::filesystem::path file_ = folder_ / "Macro.dat";
    MacroStore store_{file_};
    MacroTable table_;
};

TEST_F(MacroStoreTest, RecordTextHoldsTheNameCountEventsAndPauses) {
    const std::string text = MacroStore::encodeRecord(sampleRecord("Macro1"));
    ASSERT_EQ(text.size(), 555u);
    EXPECT_EQ(text.substr(0, 60),
              fields({77, 0, 97, 0, 99, 0, 114, 0, 111, 0, 49, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(text.substr(60, 3), "003");
    EXPECT_EQ(text.substr(63, 12), fields({65, 1, 100, 0}));
    EXPECT_EQ(text.substr(75, 12), fields({65, 2, 0, 1})); // pause 256 = 0 + 1 x 256
    EXPECT_EQ(text.substr(87, 12), fields({241, 1, 0, 0}));
    EXPECT_EQ(text.substr(99), std::string(555 - 99, '0'));

    MacroRecord ab;
    ab.setName("Ab");
    EXPECT_TRUE(MacroStore::encodeRecord(ab).starts_with("065000098000000000"));
}

TEST_F(MacroStoreTest, DecodingInvertsEncodingExceptTheUnstoredNameHalf) {
    MacroRecord original = sampleRecord("ABCDEFGHIJKLMNOPQ");
    for (int k = 0; k < 41; ++k) {
        original.setEvent(k, {static_cast<std::uint8_t>(k * 6), static_cast<std::uint8_t>(k % 3),
                              static_cast<std::uint16_t>(k * 1601)});
    }
    original.eventCount = 255;
    MacroRecord decoded;
    decoded.name[30] = 0x55; // left as it is
    MacroStore::decodeRecord(MacroStore::encodeRecord(original), decoded);
    EXPECT_EQ(std::memcmp(&decoded.name, &original.name, 20), 0);
    EXPECT_EQ(decoded.name[20], 0);
    EXPECT_EQ(decoded.name[30], 0x55);
    EXPECT_EQ(decoded.eventCount, 255);
    EXPECT_EQ(decoded.codesAndActions, original.codesAndActions);
    EXPECT_EQ(decoded.pauses, original.pauses);
}

TEST_F(MacroStoreTest, ShortOrCorruptValuesDecodeFieldByField) {
    MacroRecord r = sampleRecord("Old");
    MacroStore::decodeRecord("0650000980", r); // "065" "000" "098" "0": the last field is 0
    EXPECT_EQ(r.nameUtf8(), "Ab");
    EXPECT_EQ(r.eventCount, 0);
    EXPECT_EQ(r.event(0).code, 0);

    MacroStore::decodeRecord("9999x1 -1abc300", r);
    EXPECT_EQ(r.name[0], 999 % 256);
    EXPECT_EQ(r.name[1], 9);   // "9x1": 9, then stop
    EXPECT_EQ(r.name[2], 255); // " -1": -1, low 8 bits
    EXPECT_EQ(r.name[3], 0);   // "abc"
    EXPECT_EQ(r.name[4], 44);  // "300"
}

TEST_F(MacroStoreTest, FileRoundTripCutsNamesToTenUnits) {
    writeTable({"Macro1", "ABCDEFGHIJKL", "宋体宏"});
    MacroTable read;
    restart(read);
    ASSERT_EQ(read.count(), 3);
    EXPECT_EQ(read.snapshot(0).nameUtf8(), "Macro1");
    EXPECT_EQ(read.snapshot(1).nameUtf8(), "ABCDEFGHIJ");
    EXPECT_EQ(read.snapshot(2).nameUtf8(), "宋体宏");
    EXPECT_EQ(read.snapshot(1).event(1).pause, 256);
    EXPECT_EQ(read.snapshot(2).event(2).code, 241);
    EXPECT_EQ(read.snapshot(3).eventCount, 0);
}

TEST_F(MacroStoreTest, WriteLeavesKeysOfRecordsBeyondTheCount) {
    writeTable({"one", "two", "three"});
    const std::string thirdKey = ProfileStrings::get(file_, "Macros", "2", "", 556);
    writeTable({"one", "three"});
    EXPECT_EQ(ProfileStrings::get(file_, "Macros", "2", "", 556), thirdKey);
    MacroTable read;
    restart(read);
    EXPECT_EQ(read.count(), 2);
    EXPECT_EQ(read.snapshot(1).nameUtf8(), "three");
    EXPECT_EQ(read.snapshot(2).eventCount, 0);

    table_.setCount(0);
    ASSERT_TRUE(store_.write(table_));
    EXPECT_EQ(store_.readCount(), 0);
    EXPECT_NE(readText(file_).find("\n0=" + MacroStore::encodeRecord(sampleRecord("one"))),
              std::string::npos);
}

TEST_F(MacroStoreTest, WrittenFileListsTheCountThenTheRecords) {
    writeTable({"a", "b"});
    EXPECT_EQ(readText(file_),
              "[Macros]\nmacroNum=2\n0=" + MacroStore::encodeRecord(sampleRecord("a")) +
                  "\n1=" + MacroStore::encodeRecord(sampleRecord("b")) + "\n");
}

TEST_F(MacroStoreTest, CountIsReadWithAThreeCharacterBufferAndAtMostTwelveRecordsAreRead) {
    std::string text = "[Macros]\nmacroNum=123\n";
    for (int i = 0; i < 14; ++i) {
        text += std::to_string(i) + "=" +
                MacroStore::encodeRecord(sampleRecord("m" + std::to_string(i))) + "\n";
    }
    writeText(file_, text);
    EXPECT_EQ(store_.readCount(), 12);
    MacroTable table;
    ASSERT_TRUE(store_.read(99, table));
    EXPECT_EQ(table.snapshot(11).nameUtf8(), "m11");
    EXPECT_EQ(table.snapshot(12).eventCount, 0); // the blank template stays blank

    writeText(file_, "[Macros]\nmacroNum=x\n");
    EXPECT_EQ(store_.readCount(), 0);
    writeText(file_, "[Macros]\nmacroNum=-4\n");
    EXPECT_EQ(store_.readCount(), -4);
    EXPECT_TRUE(store_.read(-4, table));
}

TEST_F(MacroStoreTest, MissingKeyGivesAnEmptyRecord) {
    writeText(file_,
              "[Macros]\nmacroNum=2\n0=" + MacroStore::encodeRecord(sampleRecord("x")) + "\n");
    MacroTable table;
    table.edit([](auto& records) { records[1] = sampleRecord("stale"); });
    ASSERT_TRUE(store_.read(2, table));
    EXPECT_EQ(table.snapshot(1).nameUtf8(), "");
    EXPECT_EQ(table.snapshot(1).eventCount, 0);
}

TEST_F(MacroStoreTest, MissingFileOrFolderInPlaceIsReportedAndNothingIsRead) {
    MacroTable table;
    EXPECT_FALSE(store_.read(0, table));
    EXPECT_EQ(store_.readCount(), 0);
    std::filesystem::create_directory(file_);
    EXPECT_FALSE(store_.read(1, table));
}

TEST_F(MacroStoreTest, FailedWriteReportsFailureAndKeepsTheOldFile) {
    writeTable({"kept"});
    const std::string before = readText(file_);
    const MacroStore blocked(folder_ / "missing" / "Macro.dat");
    EXPECT_FALSE(blocked.write(table_));
    std::filesystem::create_directory(folder_ / "dir.dat");
    EXPECT_FALSE(MacroStore(folder_ / "dir.dat").write(table_));
    EXPECT_EQ(readText(file_), before);
}

} // namespace
} // namespace veldran
