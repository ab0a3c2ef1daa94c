// What a killed write leaves beside a settings file, and creating a file only where none is:
// the temporary files of writes whose process is gone are removed at the next start, nothing
// else is; a file that is there is never replaced.
#include "platform/ProfileStrings.h"
#include "platform/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace veldran {
namespace {

using test::readText;
using test::TempFolder;
using test::writeText;

pid_t endedPid() {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    ::waitpid(child, nullptr, 0);
    return child;
}

TEST(ProfileStringsLeftovers, OnlyTheTemporariesOfEndedWritesOfThatFileGo) {
    TempFolder folder;
    const auto file = folder / "config.ini";
    writeText(file, "[Init]\nCurConfig=1\n");
    const std::string dead = std::to_string(endedPid());
    const std::string alive = std::to_string(::getppid());
    const std::vector<std::string> stale = {".config.ini.tmp-" + dead + "-0",
                                            ".config.ini.tmp-" + dead + "-17"};
    const std::vector<std::string> kept = {
        ".config.ini.tmp-" + alive + "-0",    // a write in progress in another process
        ".config.ini.tmp-" + dead,            // not our name: no counter
        ".config.ini.tmp-" + dead + "-1x",    // not our name
        ".Macro.dat.tmp-" + dead + "-0",      // another file's
        "config.ini.tmp-" + dead + "-0",      // no leading dot
        ".config.ini.tmp-" + dead + "-0.bak", // more after the counter
    };
    for (const auto& name : stale) {
        writeText(folder / name, "[Init]\nCur");
    }
    for (const auto& name : kept) {
        writeText(folder / name, "x");
    }
    std::filesystem::create_directory(folder / (".config.ini.tmp-" + dead + "-5"));

    EXPECT_EQ(ProfileStrings::removeStaleTemporaries(file), stale.size());
    for (const auto& name : stale) {
        EXPECT_FALSE(std::filesystem::exists(folder / name)) << name;
    }
    for (const auto& name : kept) {
        EXPECT_TRUE(std::filesystem::exists(folder / name)) << name;
    }
    EXPECT_TRUE(std::filesystem::is_directory(folder / (".config.ini.tmp-" + dead + "-5")));
    EXPECT_EQ(readText(file), "[Init]\nCurConfig=1\n");
    // A missing folder is nothing to clean.
    EXPECT_EQ(ProfileStrings::removeStaleTemporaries(folder / "gone" / "config.ini"), 0U);
}

TEST(ProfileStringsLeftovers, OnlyTheUsersOwnRegularTemporariesAreRemoved) {
    TempFolder folder;
    const std::string dead = std::to_string(endedPid());
    writeText(folder / "victim", "keep");
    std::filesystem::create_symlink(folder / "victim", folder / (".Macro.dat.tmp-" + dead + "-0"));
    const auto others = folder / (".Macro.dat.tmp-" + dead + "-1");
    writeText(others, "[Mac");
    const bool root = ::getuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(others.c_str(), 65534, 65534), 0);
    }
    const auto own = folder / (".Macro.dat.tmp-" + dead + "-2");
    writeText(own, "[Mac");
    EXPECT_EQ(ProfileStrings::removeStaleTemporaries(folder / "Macro.dat"), root ? 1U : 2U);
    EXPECT_FALSE(std::filesystem::exists(own));
    EXPECT_EQ(std::filesystem::exists(others), root);
    EXPECT_TRUE(std::filesystem::is_symlink(folder / (".Macro.dat.tmp-" + dead + "-0")));
    EXPECT_EQ(readText(folder / "victim"), "keep");
}

TEST(ProfileStringsLeftovers, CreateIfMissingNeverReplacesAFile) {
    TempFolder folder;
    const auto file = folder / "config.ini";
    ASSERT_TRUE(ProfileStrings::createIfMissing(file, "[Init]\nCurConfig=1\n"));
    EXPECT_EQ(readText(file), "[Init]\nCurConfig=1\n");
    ASSERT_TRUE(ProfileStrings::createIfMissing(file, "[Init]\nCurConfig=5\n"));
    EXPECT_EQ(readText(file), "[Init]\nCurConfig=1\n");
    // A dangling link counts as there: the user pointed it somewhere on purpose.
    std::filesystem::create_symlink(folder / "elsewhere.dat", folder / "Macro.dat");
    EXPECT_TRUE(ProfileStrings::createIfMissing(folder / "Macro.dat", "[Macros]\n"));
    EXPECT_FALSE(std::filesystem::exists(folder / "elsewhere.dat"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              2);
    EXPECT_FALSE(ProfileStrings::createIfMissing(folder / "no" / "such" / "config.ini", "x"));
}

} // namespace
} // namespace veldran
