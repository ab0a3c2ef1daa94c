#include "control/ProgramRules.h"

#include "control/ProgramRuleSwitcher.h"
#include "fakes/FakeProfileSwitcher.h"
#include "platform/linux/ReportedActiveWindow.h"

#include <QTest>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sys/stat.h>

namespace veldran {
namespace {

namespace fs = std::filesystem;
using testing::FakeProfileSwitcher;
using Selection = std::pair<int, SwitchCause>;

class ProgramRulesFile : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("veldran-rules-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }
    fs::path write(const std::string& text) {
        std::ofstream(file()) << text;
        return file();
    }
    fs::path file() const { return folder_ / kProgramsFileName; }

    fs::path folder_;
};

TEST_F(ProgramRulesFile, BadRulesAreLeftOutWithOneProblemEachAndTheOthersMatchIgnoringCase) {
    const LoadedProgramRules loaded =
        loadProgramRules(write("[Settings]\r\nNotify=0\r\n[Programs]\r\n"
                               "firefox=2\r\nSteam_App_570 = 3\r\nsix=6\r\n"
                               "word=two\r\n=4\r\nlate=1x\r\nFIREFOX=5\r\n" +
                               std::string("nu\0l=2\r\n", 8)));
    EXPECT_TRUE(loaded.rules.enabled);
    EXPECT_FALSE(loaded.rules.notify);
    EXPECT_EQ(loaded.problems.size(), 5u);
    EXPECT_NE(loaded.problems.back().find("\"nu\\x00l=2\""), std::string::npos);
    // What was loaded can be saved back (a name that cannot be stored is no rule).
    EXPECT_TRUE(saveProgramRules(file(), loaded.rules));
    const ProgramRules& rules = loaded.rules;
    EXPECT_EQ(matchProgramRule(rules, {"Navigator", "Firefox", ""}), 2);
    EXPECT_EQ(matchProgramRule(rules, {"", "", "steam_app_570"}), 3);
    EXPECT_EQ(matchProgramRule(rules, {"six", "Six", "six"}), std::nullopt);
    EXPECT_EQ(matchProgramRule(rules, {"", "", ""}), std::nullopt);
}

TEST_F(ProgramRulesFile, StrayLinesRawBytesTheDriverItselfAndLongFilesAreReportedBriefly) {
    std::string text = "[Programs]\njust a name\n\x1b]0;evil\x07=2\nVeldran-Driver=3\n"
                       "veldran-driver=4\n";
    for (int i = 0; i < 10005; ++i) {
        text += "p" + std::to_string(i) + "=1\n";
    }
    const LoadedProgramRules loaded = loadProgramRules(write(text));
    ASSERT_EQ(loaded.problems.size(), 3u);
    EXPECT_NE(loaded.problems[0].find("\"just a name\""), std::string::npos);
    EXPECT_NE(loaded.problems[1].find("Veldran-Driver=3"), std::string::npos);
    EXPECT_NE(loaded.problems[2].find("more than 10000 rules: the last 6"), std::string::npos);
    // The escape sequence's key is a rule like any other, but never reaches a terminal raw.
    EXPECT_EQ(loaded.rules.rules.size(), 10000u);
    EXPECT_EQ(matchProgramRule(loaded.rules, {"veldran-driver", "", ""}), std::nullopt);

    const LoadedProgramRules bad = loadProgramRules(write("[Programs]\n\x1b[2J=9\n"));
    ASSERT_EQ(bad.problems.size(), 1u);
    EXPECT_NE(bad.problems[0].find("\\x1b[2J=9"), std::string::npos);
    EXPECT_EQ(bad.problems[0].find('\x1b'), std::string::npos);

    write(std::string(kMaxProgramsFileBytes + 1, ';'));
    EXPECT_FALSE(loadProgramRules(file()).rules.enabled);
}

TEST_F(ProgramRulesFile, MissingFileLeavesTheFeatureOffQuietlyAndAnUnreadableOneSaysSo) {
    EXPECT_FALSE(loadProgramRules(file()).rules.enabled);
    EXPECT_TRUE(loadProgramRules(file()).problems.empty());
    fs::create_directory(file());
    const LoadedProgramRules unreadable = loadProgramRules(file());
    EXPECT_FALSE(unreadable.rules.enabled);
    EXPECT_EQ(unreadable.problems.size(), 1u);
}

TEST_F(ProgramRulesFile, SavedRulesReadBackFromAFileOnlyItsOwnerCanRead) {
    const ProgramRules rules{false, true, {{"xev", 3}, {"Navigator", 2}}};
    ASSERT_TRUE(saveProgramRules(file(), rules));
    struct stat info {};
    ASSERT_EQ(::stat(file().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    const ProgramRules back = loadProgramRules(file()).rules;
    EXPECT_FALSE(back.enabled);
    ASSERT_EQ(back.rules.size(), 2u);
    EXPECT_EQ(back.rules[1].program, "Navigator");
    EXPECT_EQ(back.rules[1].profile, 2);
    EXPECT_FALSE(saveProgramRules(file(), {true, true, {{"a=b", 1}}}));

    // A hand-edited file keeps its comments and the lines that are no rule, in place.
    write("; my rules\n[Programs]\n; games\nxev=3\nbroken=9\nold=1\nno equals sign\n");
    ASSERT_TRUE(saveProgramRules(file(), {true, true, {{"xev", 4}, {"new", 2}}}));
    std::ifstream in(file());
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(text, "; my rules\n[Programs]\n; games\nxev=4\nbroken=9\nno equals sign\nnew=2\n"
                    "[Settings]\nEnabled=1\nNotify=1\n");
}

TEST(ProgramRuleSwitcher, FollowsTheRestingFocusAndReturnsToTheUsersChoice) {
    FakeProfileSwitcher switcher(1);
    ProgramRuleSwitcher rules(switcher);
    rules.setRules({true, true, {{"xev", 3}, {"Navigator", 2}}});
    // A focus that moves on within the rest switches only for where it stays.
    rules.focusChanged({"xev", "Xev", ""});
    rules.focusChanged({"Navigator", "firefox", ""});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !switcher.selections.empty(); }));
    // Another window of the same program asks for nothing.
    rules.focusChanged({"Navigator", "firefox", ""});
    QTest::qWait(2 * kFocusRest.count());
    EXPECT_EQ(switcher.selections, (std::vector<Selection>{{2, SwitchCause::ProgramRule}}));
    // The user's choice made meanwhile is where a window without a rule goes back to.
    switcher.selectProfile(4, SwitchCause::CommandLine);
    rules.focusChanged({"xev", "Xev", ""});
    ASSERT_TRUE(QTest::qWaitFor([&] { return switcher.currentProfile() == 3; }));
    rules.focusChanged({"xterm", "XTerm", "xterm"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return switcher.currentProfile() == 4; }));
    EXPECT_EQ(switcher.selections.back(), (Selection{4, SwitchCause::ProgramRule}));
    // Turning the rules off in front of a program with a rule gives the user's profile back.
    rules.focusChanged({"xev", "Xev", ""});
    ASSERT_TRUE(QTest::qWaitFor([&] { return switcher.currentProfile() == 3; }));
    rules.setRules({false, true, {{"xev", 3}}});
    EXPECT_EQ(switcher.currentProfile(), 4);
}

TEST(ProgramRuleMatching, ReportsOfEachDesktopMatchByAppIdClassOrTheExecutableOfTheirPid) {
    const std::string own = fs::read_symlink("/proc/self/exe").filename().string();
    const ProgramRules rules{
        true, true, {{"org.mozilla.firefox", 2}, {"steam_app_570", 3}, {own, 4}}};
    const auto match = [&](const char* appId, const char* wmClass, unsigned pid) {
        return matchProgramRule(rules, reportedProgram(appId, wmClass, pid));
    };
    // As sway, GNOME Shell and KWin report a native Wayland window, an XWayland one and no
    // window at all.
    EXPECT_EQ(match("org.mozilla.firefox", "", 0), 2);
    EXPECT_EQ(match("", "\nOrg.Mozilla.Firefox", 0), 2);
    EXPECT_EQ(match("", "steam_app_570\nSteam", 0), 3);
    EXPECT_EQ(match("", "", 0), std::nullopt);
    // The pid names the executable (this test's own); a pid that is gone names nothing.
    EXPECT_EQ(match("org.example.Editor", "editor\nEditor", ::getpid()), 4);
    EXPECT_EQ(match("org.example.Editor", "", 0x7ffffff0), std::nullopt);
}

} // namespace
} // namespace veldran
