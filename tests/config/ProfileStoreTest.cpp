// config.ini through the profile store: the text that Save leaves, Load's parsing of hand-edited
// values, round trips, CurConfig and failing writes.
#include "config/ProfileStore.h"

#include "config/FunctionCode.h"
#include "formats/LenientNumber.h"
#include "platform/TempFolder.h"

#include <gtest/gtest.h>
#include <sstream>

namespace veldran {
namespace {

using test::readText;
using test::TempFolder;
using test::writeText;

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

class ProfileStoreTest : public ::testing::Test {
protected:
    void fillSample(Profile& p) {
        const std::array<std::int32_t, kSlotCount> codes = {1, 31, 6, 41, 4, -1, 13, 0, 52, 19};
        for (int slot = 1; slot <= kSlotCount; ++slot) {
            p.setCode(slot, codes[static_cast<std::size_t>(slot - 1)]);
        }
        p.wheelMode.store(1);
        p.dpiLevel.store(2);
        const std::array<std::int32_t, kStageCount> dpi = {3, 0, 2, 1};
        for (int stage = 1; stage <= kStageCount; ++stage) {
            DpiStage& s = p.stages[static_cast<std::size_t>(stage - 1)];
            s.editedCode.store(dpi[static_cast<std::size_t>(stage - 1)]);
            s.codeInForce.store(9); // not stored: Save writes the edited code
            s.selectionId.store(selectionIdFor(stage, dpi[static_cast<std::size_t>(stage - 1)]));
        }
        p.lightMode.store(3);
    }

    std::int32_t loadK3(const std::string& value) {
        writeText(file_, "[Config1]\nK3=" + value + "\n");
        Profile p;
        store_.load(1, p);
        return p.code(3);
    }

    TempFolder folder_;
    std::filesystem::path file_ = folder_ / "config.ini";
    ProfileStore store_{file_};
};

TEST_F(ProfileStoreTest, SaveWritesANewSectionInTheFixedKeyOrder) {
    Profile p;
    fillSample(p);
    ASSERT_TRUE(store_.save(2, p));
    const std::vector<std::string> expected = {
        "[Config2]",      "K1=1",       "K2=31",      "K3=6",       "K4=41",      "K5=4",
        "K6=-1",          "K7=13",      "K8=0",       "K9=52",      "K10=19",     "DPI_LEVEL=2",
        "WHEEL_STATUS=1", "DPI_SET1=3", "DPI_SET2=0", "DPI_SET3=2", "DPI_SET4=1", "LED_STATUS=3"};
    EXPECT_EQ(linesOf(readText(file_)), expected);
}

TEST_F(ProfileStoreTest, SaveRewritesItsSectionInPlaceAndLeavesTheRest) {
    writeText(file_, "[Init]\r\nCurConfig=2\r\n[Config2]\r\nK1=9\r\nEXTRA=keep\r\n[Config3]\r\n"
                     "K1=5\r\n");
    Profile p;
    fillSample(p);
    ASSERT_TRUE(store_.save(2, p));
    const std::string text = readText(file_);
    EXPECT_TRUE(
        text.starts_with("[Init]\r\nCurConfig=2\r\n[Config2]\r\nK1=1\r\nEXTRA=keep\r\nK2=31\r\n"))
        << text;
    EXPECT_NE(text.find("LED_STATUS=3\r\n[Config3]\r\nK1=5\r\n"), std::string::npos);
}

TEST_F(ProfileStoreTest, RoundTripKeepsEverythingButDpiActionsAndCodesInForce) {
    Profile saved;
    fillSample(saved);
    saved.stages[1].editedCode.store(300);
    saved.dpiActions[2].store(2);
    ASSERT_TRUE(store_.save(6, saved));
    Profile loaded;
    loaded.dpiActions[2].store(-1);
    store_.load(6, loaded);
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        EXPECT_EQ(loaded.code(slot), saved.code(slot)) << "slot " << slot;
    }
    EXPECT_EQ(loaded.wheelMode.load(), 1);
    EXPECT_EQ(loaded.dpiLevel.load(), 2);
    EXPECT_EQ(loaded.lightMode.load(), 3);
    EXPECT_EQ(loaded.dpiActions[2].load(), -1);
    const std::array<std::int32_t, kStageCount> dpi = {3, 44, 2, 1};
    for (std::size_t i = 0; i < dpi.size(); ++i) {
        EXPECT_EQ(loaded.stages[i].editedCode.load(), dpi[i]);
        EXPECT_EQ(loaded.stages[i].codeInForce.load(), dpi[i]);
        EXPECT_EQ(loaded.stages[i].selectionId.load(),
                  selectionIdFor(static_cast<int>(i + 1), dpi[i]));
    }
}

TEST_F(ProfileStoreTest, LoadParsesLenientlyAfterCuttingToTheBuffer) {
    EXPECT_EQ(loadK3("abc"), 0);
    EXPECT_EQ(loadK3("12x"), 12);
    EXPECT_EQ(loadK3("-1"), -1);
    EXPECT_EQ(loadK3("+7"), 7);
    EXPECT_EQ(loadK3(""), 0);
    EXPECT_EQ(loadK3("12345"), 1234);
    EXPECT_EQ(loadK3("\" 42\""), 42);
    EXPECT_EQ(loadK3("- 5"), 0);
    // Beyond 32 bits the low 32 bits are kept, as the Windows profile functions do.
    EXPECT_EQ(parseProfileNumber("4294967296"), 0);
    EXPECT_EQ(parseProfileNumber("4294967297"), 1);
    EXPECT_EQ(parseProfileNumber("-4294967297"), -1);
    EXPECT_EQ(parseProfileNumber("2147483648"), -2147483648LL);
    EXPECT_EQ(parseProfileNumber("18446744073709551617"), 1);
}

TEST_F(ProfileStoreTest, LoadKeepsTheLowEightBitsOfDpiCodesAndTheLightMode) {
    writeText(file_, "[Config4]\nDPI_SET1=-1\nDPI_SET2=300\nDPI_SET3=1234567890123\n"
                     "DPI_SET4=4\nLED_STATUS=260\nDPI_LEVEL=7\n");
    Profile p;
    store_.load(4, p);
    EXPECT_EQ(p.stages[0].editedCode.load(), 255);
    EXPECT_EQ(p.stages[0].selectionId.load(), 45 + 255);
    EXPECT_EQ(p.stages[1].editedCode.load(), 44);
    EXPECT_EQ(p.stages[1].codeInForce.load(), 44);
    EXPECT_EQ(p.stages[1].selectionId.load(), 94);
    // Cut to 9 characters: 123456789, whose low 8 bits are 21.
    EXPECT_EQ(p.stages[2].editedCode.load(), 123456789 % 256);
    EXPECT_EQ(p.stages[3].selectionId.load(), 64);
    EXPECT_EQ(p.lightMode.load(), 4);
    EXPECT_EQ(p.dpiLevel.load(), 7); // kept as read; uses go through safeDpiLevel
}

TEST_F(ProfileStoreTest, MissingFileOrSectionLoadsZeros) {
    Profile p;
    fillSample(p);
    store_.load(0, p);
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        EXPECT_EQ(p.code(slot), 0);
    }
    EXPECT_EQ(p.stages[3].selectionId.load(), 60);
    EXPECT_EQ(p.lightMode.load(), 0);
    EXPECT_EQ(store_.readCurConfig(), 0);
}

TEST_F(ProfileStoreTest, CurConfigIsReadWithAFiveCharacterBuffer) {
    ASSERT_TRUE(store_.writeCurConfig(3));
    EXPECT_EQ(readText(file_), "[Init]\nCurConfig=3\n");
    EXPECT_EQ(store_.readCurConfig(), 3);
    writeText(file_, "[init]\ncurconfig=123456\n");
    EXPECT_EQ(store_.readCurConfig(), 1234);
}

TEST_F(ProfileStoreTest, LightModeIsWrittenUnsigned) {
    Profile p;
    p.lightMode.store(255);
    ASSERT_TRUE(store_.save(1, p));
    EXPECT_NE(readText(file_).find("LED_STATUS=255\n"), std::string::npos);
}

TEST_F(ProfileStoreTest, FailedSaveReportsFailureAndKeepsTheOldFile) {
    const auto folderInPlace = folder_ / "blocked.ini";
    std::filesystem::create_directory(folderInPlace);
    Profile p;
    fillSample(p);
    EXPECT_FALSE(ProfileStore(folderInPlace).save(1, p));
    EXPECT_FALSE(ProfileStore(folderInPlace).writeCurConfig(1));
    EXPECT_TRUE(std::filesystem::is_directory(folderInPlace));
    EXPECT_FALSE(ProfileStore(folder_ / "none" / "config.ini").save(1, p));
}

} // namespace
} // namespace veldran
