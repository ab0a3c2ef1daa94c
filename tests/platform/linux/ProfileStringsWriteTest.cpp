// Writing profile strings: what the file looks like afterwards, byte for byte, and what happens
// when the file cannot be replaced.
#include "platform/ProfileStrings.h"
#include "platform/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

namespace veldran {
namespace {

using test::readText;
using test::TempFolder;
using test::writeText;

class ProfileStringsWrite : public ::testing::Test {
protected:
    bool write(std::string_view section, std::string_view key, std::string_view value) {
        return ProfileStrings::write(file_, section, key, value);
    }

    TempFolder folder_;
    std::filesystem::path file_ = folder_ / "config.ini";
};

TEST_F(ProfileStringsWrite, CreatesTheFileAndSectionsInOrder) {
    ASSERT_TRUE(write("Config1", "K1", "1"));
    ASSERT_TRUE(write("Config1", "K2", "2"));
    ASSERT_TRUE(write("Init", "CurConfig", "1"));
    ASSERT_TRUE(write("config1", "k1", "-5"));
    EXPECT_EQ(readText(file_), "[Config1]\nK1=-5\nK2=2\n[Init]\nCurConfig=1\n");
}

TEST_F(ProfileStringsWrite, LeavesEveryOtherLineUntouched) {
    const std::string before = "; settings\r\n"
                               "loose = 1\r\n"
                               "[Config1]  \r\n"
                               "  k1 =  4   \r\n"
                               "\r\n"
                               "; comment inside\r\n"
                               "K2=\"q\"\r\n"
                               "\r\n"
                               "[Config2]\r\n"
                               "K1=9";
    writeText(file_, before);
    ASSERT_TRUE(write("CONFIG1", "K1", "7"));
    ASSERT_TRUE(write("Config1", "K3", "3"));
    ASSERT_TRUE(write("Config2", "K2", "8"));
    ASSERT_TRUE(write("Config3", "K1", "1"));
    // The replaced line keeps the file's spelling of the key and its line ending; a new key
    // follows the last entry of its section; the last line gains the file's line ending before
    // anything is added after it.
    EXPECT_EQ(readText(file_), "; settings\r\n"
                               "loose = 1\r\n"
                               "[Config1]  \r\n"
                               "k1=7\r\n"
                               "\r\n"
                               "; comment inside\r\n"
                               "K2=\"q\"\r\n"
                               "K3=3\r\n"
                               "\r\n"
                               "[Config2]\r\n"
                               "K1=9\r\n"
                               "K2=8\r\n"
                               "[Config3]\r\n"
                               "K1=1\r\n");
}

TEST_F(ProfileStringsWrite, ReplacingTheLastLineKeepsItWithoutNewline) {
    writeText(file_, "[S]\nk=1");
    ASSERT_TRUE(write("S", "k", "2"));
    EXPECT_EQ(readText(file_), "[S]\nk=2");
}

// A file cut right after a carriage return (an editor that saved "\r" as its last byte): the
// header is read as "[d]", the write lands in it, and the line keeps its carriage return.
// Old Mac files end their lines with a lone carriage return: every line is read, a write
// replaces the key in place (no duplicate) and new lines keep the file's ending.
TEST_F(ProfileStringsWrite, LoneCarriageReturnsEndLines) {
    writeText(file_, "[S]\rk=1\r[T]\rx=2\r");
    EXPECT_EQ(ProfileStrings::get(file_, "S", "k", "", 10), "1");
    EXPECT_EQ(ProfileStrings::get(file_, "T", "x", "", 10), "2");
    ASSERT_TRUE(write("S", "k", "5"));
    ASSERT_TRUE(write("S", "n", "3"));
    EXPECT_EQ(readText(file_), "[S]\rk=5\rn=3\r[T]\rx=2\r");

    writeText(file_, "[S]\nk=1\r");
    ASSERT_TRUE(write("S", "k", "2"));
    EXPECT_EQ(readText(file_), "[S]\nk=2\r");
    EXPECT_EQ(ProfileStrings::get(file_, "S", "k", "", 10), "2");
    // A default value loses its trailing blanks, as on Windows; its leading ones stay.
    EXPECT_EQ(ProfileStrings::get(file_, "S", "missing", " dflt  ", 10), " dflt");
}

TEST_F(ProfileStringsWrite, WritesGoToTheFirstOfDuplicateSectionsAndKeys) {
    writeText(file_, "[A]\nx=1\nx=2\n[A]\nx=3\n");
    ASSERT_TRUE(write("a", "X", "9"));
    ASSERT_TRUE(write("A", "y", "4"));
    EXPECT_EQ(readText(file_), "[A]\nx=9\nx=2\ny=4\n[A]\nx=3\n");
}

TEST_F(ProfileStringsWrite, KeysBeforeAnySectionStayApart) {
    writeText(file_, "K1=loose\n[S]\nK2=2\n");
    ASSERT_TRUE(write("S", "K1", "1"));
    EXPECT_EQ(readText(file_), "K1=loose\n[S]\nK2=2\nK1=1\n");
}

TEST_F(ProfileStringsWrite, WriteAllMatchesSuccessiveWrites) {
    const std::string start = "[Other]\na=1\n[S]\nk2=old\n";
    const std::vector<std::pair<std::string, std::string>> keys = {
        {"K1", "1"}, {"K2", "2"}, {"K3", "3"}, {"k1", "4"}};
    writeText(file_, start);
    for (const auto& [key, value] : keys) {
        ASSERT_TRUE(write("S", key, value));
    }
    const std::string oneByOne = readText(file_);
    writeText(file_, start);
    ASSERT_TRUE(ProfileStrings::writeAll(file_, "S", keys));
    EXPECT_EQ(readText(file_), oneByOne);
    EXPECT_EQ(oneByOne, "[Other]\na=1\n[S]\nk2=2\nK1=4\nK3=3\n");
}

TEST_F(ProfileStringsWrite, RejectsTextThatWouldBreakTheLineStructure) {
    writeText(file_, "[S]\nk=1\n");
    EXPECT_FALSE(write("S", "k", "1\n[Evil]"));
    EXPECT_FALSE(write("S", "k=", "1"));
    EXPECT_FALSE(write("S", "", "1"));
    EXPECT_FALSE(write("S]", "k", "1"));
    EXPECT_FALSE(write("S", ";k", "1"));
    EXPECT_FALSE(ProfileStrings::writeAll(file_, "S", {{"k", "2"}, {"j", std::string("a\0b", 3)}}));
    EXPECT_EQ(readText(file_), "[S]\nk=1\n");
}

TEST_F(ProfileStringsWrite, FailsAndLeavesTheOldFileWhenItCannotBeReplaced) {
    // A folder in the file's place.
    std::filesystem::create_directory(file_);
    writeText(file_ / "inside", "keep");
    EXPECT_FALSE(write("S", "k", "1"));
    EXPECT_TRUE(std::filesystem::is_directory(file_));
    EXPECT_EQ(readText(file_ / "inside"), "keep");

    // A file in a folder that does not exist.
    const auto nowhere = folder_ / "missing" / "config.ini";
    EXPECT_FALSE(ProfileStrings::write(nowhere, "S", "k", "1"));
    EXPECT_FALSE(std::filesystem::exists(nowhere.parent_path()));

    // A file whose folder is a file.
    writeText(folder_ / "plain", "x");
    EXPECT_FALSE(ProfileStrings::write(folder_ / "plain" / "config.ini", "S", "k", "1"));
    EXPECT_EQ(readText(folder_ / "plain"), "x");
}

TEST_F(ProfileStringsWrite, LeavesNoTemporaryFilesTightensTheModeAndNeverWritesThroughALink) {
    writeText(file_, "[S]\nk=1\n");
    // A file that an earlier version left readable by others is the user's alone after a write.
    ASSERT_EQ(::chmod(file_.c_str(), 0644), 0);
    ASSERT_TRUE(ProfileStrings::write(file_, "S", "k", "2"));
    EXPECT_EQ(readText(file_), "[S]\nk=2\n");
    struct stat info {};
    ASSERT_EQ(::stat(file_.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);

    // A link planted in the settings file's place: the write replaces the link, and the file it
    // pointed to keeps its bytes.
    const auto link = folder_ / "link.ini";
    std::filesystem::create_symlink(file_.filename(), link);
    ASSERT_TRUE(ProfileStrings::write(link, "S", "k", "3"));
    EXPECT_FALSE(std::filesystem::is_symlink(link));
    EXPECT_EQ(readText(link), "[S]\nk=3\n");
    EXPECT_EQ(readText(file_), "[S]\nk=2\n");
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder_.path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 2);
}

// Settings files hold the user's macros and button functions: readable by the user alone.
TEST_F(ProfileStringsWrite, NewFilesAreTheUsersAloneWhateverTheUmask) {
    const mode_t oldMask = ::umask(022);
    const bool written = ProfileStrings::write(file_, "S", "k", "1");
    ::umask(oldMask);
    ASSERT_TRUE(written);
    struct stat info {};
    ASSERT_EQ(::stat(file_.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
}

TEST_F(ProfileStringsWrite, ConcurrentWritersLoseNoKeys) {
    constexpr int kWrites = 40;
    auto writer = [this](const std::string& section) {
        for (int i = 0; i < kWrites; ++i) {
            ProfileStrings::write(file_, section, "K" + std::to_string(i), std::to_string(i));
        }
    };
    std::thread first(writer, "A");
    std::thread second(writer, "B");
    first.join();
    second.join();
    for (int i = 0; i < kWrites; ++i) {
        EXPECT_EQ(ProfileStrings::get(file_, "A", "K" + std::to_string(i), "", 10),
                  std::to_string(i));
        EXPECT_EQ(ProfileStrings::get(file_, "B", "K" + std::to_string(i), "", 10),
                  std::to_string(i));
    }
}

} // namespace
} // namespace veldran
