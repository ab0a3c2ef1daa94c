// The choice of the program for a desktop action: the first candidate found on PATH, searched
// folder by folder.
#include "platform/linux/DesktopPrograms.h"

#include <gtest/gtest.h>
#include <set>

namespace veldran {
namespace {

auto existing(std::set<std::string> paths) {
    return [paths = std::move(paths)](const std::string& path) { return paths.count(path) != 0; };
}

TEST(DesktopProgramsTest, FindProgramSearchesPathInOrder) {
    const auto exists =
        existing({"/opt/bin/xterm", "/usr/bin/xterm", "./xcalc", "/xcalc", "bin/xcalc"});
    EXPECT_EQ(findProgram("xterm", "/usr/local/bin:/usr/bin:/opt/bin", exists), "/usr/bin/xterm");
    EXPECT_EQ(findProgram("xterm", "/opt/bin:/usr/bin", exists), "/opt/bin/xterm");
    // Empty and relative entries name the current folder: never searched.
    EXPECT_EQ(findProgram("xcalc", "/usr/bin::/bin:.:bin", exists), std::nullopt);
    EXPECT_EQ(findProgram("xcalc", ":/usr/bin", exists), std::nullopt);
    EXPECT_EQ(findProgram("xcalc", "/usr/bin", exists), std::nullopt);
    EXPECT_EQ(findProgram("/usr/bin/xterm", "", exists), "/usr/bin/xterm");
    EXPECT_EQ(findProgram("", "/usr/bin", exists), std::nullopt);
}

TEST(DesktopProgramsTest, ChooseProgramTakesTheFirstCandidateThatExists) {
    const auto exists = existing({"/usr/bin/xterm", "/usr/bin/konsole", "/usr/bin/nautilus"});
    const auto terminal = chooseProgram(terminalCandidates(), "/usr/bin", exists);
    ASSERT_TRUE(terminal);
    EXPECT_EQ(terminal->path, "/usr/bin/konsole"); // konsole comes before xterm in the list
    EXPECT_TRUE(terminal->arguments.empty());

    const auto files = chooseProgram(fileManagerCandidates(), "/usr/bin", exists);
    ASSERT_TRUE(files);
    EXPECT_EQ(files->path, "/usr/bin/nautilus");
    EXPECT_EQ(files->arguments, std::vector<std::string>{"/"});

    EXPECT_FALSE(chooseProgram(calculatorCandidates(), "/usr/bin", exists));
}

TEST(DesktopProgramsTest, TheDesktopsOwnChoicesComeFirst) {
    EXPECT_STREQ(fileManagerCandidates().front().program, "xdg-open");
    EXPECT_EQ(fileManagerCandidates().front().arguments, std::vector<std::string>{"/"});
    EXPECT_STREQ(terminalCandidates().front().program, "x-terminal-emulator");
    EXPECT_STREQ(calculatorCandidates().front().program, "gnome-calculator");
    EXPECT_STREQ(lockCommandCandidates().front().program, "loginctl");
}

} // namespace
} // namespace veldran
