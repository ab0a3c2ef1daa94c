// Reading profile strings from real files, odd ones included.
#include "platform/ProfileStrings.h"
#include "platform/TempFolder.h"

#include <gtest/gtest.h>

namespace veldran {
namespace {

using test::TempFolder;
using test::writeText;

class ProfileStringsRead : public ::testing::Test {
protected:
    std::string get(std::string_view section, std::string_view key, std::size_t buffer = 256,
                    std::string_view fallback = "none") {
        return ProfileStrings::get(file_, section, key, fallback, buffer);
    }

    TempFolder folder_;
    std::filesystem::path file_ = folder_ / "config.ini";
};

TEST_F(ProfileStringsRead, MatchesNamesWithoutRegardToCaseAndCleansValues) {
    writeText(file_, "[Config1]\n"
                     "K1=5\n"
                     "  Spaced Key  =  \t 12 \t\n"
                     "Quoted=\"  a b  \"\n"
                     "HalfQuoted=\"abc\n"
                     "Inner=a \"b\" c\n"
                     "Empty=\n");
    EXPECT_EQ(get("config1", "k1"), "5");
    EXPECT_EQ(get("CONFIG1", "spaced key"), "12");
    EXPECT_EQ(get("Config1", "Quoted"), "  a b  ");
    EXPECT_EQ(get("Config1", "HalfQuoted"), "\"abc");
    EXPECT_EQ(get("Config1", "Inner"), "a \"b\" c");
    EXPECT_EQ(get("Config1", "Empty"), "");
}

TEST_F(ProfileStringsRead, MissingFileSectionOrKeyGivesTheDefault) {
    EXPECT_EQ(get("Config1", "K1"), "none");
    writeText(file_, "[Config1]\nK1=5\n");
    EXPECT_EQ(get("Config2", "K1"), "none");
    EXPECT_EQ(get("Config1", "K2"), "none");
    EXPECT_EQ(get("Config", "K1"), "none");
    EXPECT_EQ(get("Config1", "K"), "none");
}

TEST_F(ProfileStringsRead, SkipsCommentsAndBlankLinesAndIgnoresKeysBeforeAnySection) {
    writeText(file_, "K1=loose\n"
                     "\n"
                     "; [Config1]\n"
                     "[Config1]\n"
                     ";K1=commented\n"
                     "   \n"
                     "garbage line\n"
                     "K1=inside\n");
    EXPECT_EQ(get("Config1", "K1"), "inside");
    EXPECT_EQ(get("", "K1"), "none");
}

TEST_F(ProfileStringsRead, DuplicateSectionsAndKeysReadTheFirst) {
    writeText(file_, "[A]\nx=1\nx=2\n[B]\nx=3\n[a]\nx=4\ny=5\n");
    EXPECT_EQ(get("A", "x"), "1");
    // Only the first of two equally named sections is consulted.
    EXPECT_EQ(get("A", "y"), "none");
    EXPECT_EQ(get("B", "x"), "3");
}

TEST_F(ProfileStringsRead, ReadsCrLfFilesFilesWithoutFinalNewlineAndByteOrderMark) {
    writeText(file_, "[Init]\r\nCurConfig=3\r\n[Config1]\r\nK1=7");
    EXPECT_EQ(get("Init", "CurConfig"), "3");
    EXPECT_EQ(get("Config1", "K1"), "7");
    writeText(file_, "\xEF\xBB\xBF[Init]\nCurConfig=2\n");
    EXPECT_EQ(get("Init", "CurConfig"), "2");
}

TEST_F(ProfileStringsRead, BufferCutsToBufferLessOneCharacterWithoutSplittingUtf8) {
    writeText(file_, "[S]\nnum=12345\nname=宋体ab\n");
    EXPECT_EQ(get("S", "num", 5), "1234");
    EXPECT_EQ(get("S", "num", 1), "");
    EXPECT_EQ(get("S", "num", 0), "");
    EXPECT_EQ(get("S", "name", 2), "宋");
    EXPECT_EQ(get("S", "name", 4), "宋体a");
    // The default is cut the same way.
    EXPECT_EQ(get("S", "missing", 3, "abcdef"), "ab");
    EXPECT_EQ(get("S", "missing", 0, "abcdef"), "");
}

TEST_F(ProfileStringsRead, InvalidUtf8CountsEachStrayByteAsOneCharacter) {
    writeText(file_, "[S]\nv=\xE5\xAE"
                     "ab\xFF"
                     "c\n");
    EXPECT_EQ(get("S", "v", 3), "\xE5\xAE");
    EXPECT_EQ(get("S", "v", 6), "\xE5\xAE"
                                "ab\xFF");
}

TEST_F(ProfileStringsRead, VeryLongLinesAreReadWholeOrBounded) {
    const std::string longValue(200000, '7');
    writeText(file_, "[S]\nfiller=" + std::string(100000, 'x') + "\nlong=" + longValue + "\nk=1\n");
    EXPECT_EQ(get("S", "long", longValue.size() + 1), longValue);
    EXPECT_EQ(get("S", "long", 556), std::string(555, '7'));
    EXPECT_EQ(get("S", "k"), "1");
}

TEST_F(ProfileStringsRead, BinaryContentNeverBreaksTheReader) {
    std::string binary;
    for (int i = 0; i < 4096; ++i) {
        binary.push_back(static_cast<char>((i * 131 + 7) % 256));
    }
    writeText(file_, binary);
    EXPECT_EQ(get("S", "k"), "none");
    // A NUL byte ends a value, as it ends a C string.
    writeText(file_, std::string("[S]\nk=12\0"
                                 "34\n[T]\0\nj=5\n",
                                 21));
    EXPECT_EQ(get("S", "k"), "12");
}

TEST_F(ProfileStringsRead, AFolderInPlaceOfTheFileReadsAsMissing) {
    std::filesystem::create_directory(file_);
    EXPECT_EQ(get("S", "k"), "none");
}

} // namespace
} // namespace veldran
