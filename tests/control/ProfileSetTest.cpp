#include "control/ProfileSet.h"

#include "config/MacroStore.h"
#include "config/ProfileStore.h"
#include "control/ProfileSetJson.h"
#include "platform/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace veldran {
namespace {

namespace fs = std::filesystem;
using test::readText;

// A set with what a hand-edited config.ini may hold and what the editor can make.
ProfileSet oddSet() {
    ProfileSet set;
    set.selected = 4;
    for (std::size_t n = 0; n < set.profiles.size(); ++n) {
        StoredProfile& p = set.profiles[n];
        p.buttons = {1, 2, 3, 5, 4, 6, 13, 0, 0, static_cast<std::int32_t>(n)};
        p.dpi = {1, 2, 3, 255};
    }
    set.profiles[1].buttons[6] = -999; // kept as read, for the guards where it is used
    set.profiles[2].dpiLevel = 9999;
    set.profiles[3].light = 200;
    set.applied = set.profiles[3];
    set.macros.push_back({"Größe ✓", {{65, 1, 20}, {65, 2, 65535}, {240, 7, 0}}, kRepeatLoop});
    set.macros.push_back({"", {}, 42});
    set.programs.enabled = true;
    set.programs.notify = false;
    set.programs.rules = {{"FooCls", 3}, {"org.example.App", 5}};
    return set;
}

TEST(ProfileSetJson, WhatIsWrittenReadsBackAsItWas) {
    const ProfileSet set = oddSet();
    const ParsedProfileSet parsed = parseProfileSetJson(profileSetJson(set));
    ASSERT_TRUE(parsed.set) << parsed.problem;
    EXPECT_EQ(parsed.set->selected, 4);
    EXPECT_EQ(parsed.set->profiles, set.profiles);
    EXPECT_EQ(parsed.set->applied, set.applied);
    EXPECT_EQ(parsed.set->macros, set.macros);
    EXPECT_TRUE(parsed.set->programs.enabled);
    EXPECT_FALSE(parsed.set->programs.notify);
    ASSERT_EQ(parsed.set->programs.rules.size(), 2U);
    EXPECT_EQ(parsed.set->programs.rules[1].program, "org.example.App");
    EXPECT_EQ(parsed.set->programs.rules[1].profile, 5);
}

TEST(ProfileSetJson, TheFirstBadFieldIsNamedAndNothingIsGiven) {
    const std::string good = profileSetJson(oddSet());
    auto with = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        const std::size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return text.replace(at, from.size(), to);
    };
    const std::vector<std::pair<std::string, std::string>> cases = {
        {with("\"veldran-profiles\"", "\"other\""), "format: not \"veldran-profiles\""},
        {with("\"version\": 1", "\"version\": 2"), "version: 2 is not the version"},
        {with("\"selectedProfile\": 4", "\"selectedProfile\": 6"), "selectedProfile: a whole"},
        {with("\"dpiLevel\": 9999", "\"dpiLevel\": 10000"), "profiles[2].dpiLevel: a whole"},
        {with("255", "255.5"), "appliedProfile.dpi[3]: a whole number from 0 to 255"},
        {with("\"toggle\"", "\"twice\""), "macros[0].repeat: \"toggle\" or a whole number"},
        {with("\"pause\": 65535", "\"pause\": 65536"), "macros[0].events[1].pause: a whole"},
        {with("\"Größe ✓\"", "\"a name too long\""), "macros[0].name: a text of at most 10"},
        {with("\"FooCls\"", "\"Foo=Cls\""), "programs.rules[0].program: a program name"},
        {with("\"profile\": 5", "\"profile\": 0"), "programs.rules[1].profile: a whole"},
        {with("\"notify\": false", "\"notify\": 0"), "programs.notify: true or false"},
        {good.substr(0, good.size() / 2), "not JSON: "},
        {"[]", "not a JSON object"},
    };
    for (const auto& [text, problem] : cases) {
        const ParsedProfileSet parsed = parseProfileSetJson(text);
        EXPECT_FALSE(parsed.set) << problem;
        EXPECT_EQ(parsed.problem.rfind(problem, 0), 0U) << parsed.problem;
    }
}

class ProfileSetFiles : public ::testing::Test {
protected:
    void SetUp() override {
        fs::copy_file(fs::path(VELDRAN_TEST_SOURCE_DIR) / "resources/config.ini", files_.config);
        fs::copy_file(fs::path(VELDRAN_TEST_SOURCE_DIR) / "resources/Macro.dat", files_.macros);
    }

    std::vector<fs::path> backups() const {
        std::vector<fs::path> found;
        for (const auto& entry : fs::directory_iterator(folder_.path())) {
            if (entry.path().filename().string().rfind("backup-", 0) == 0) {
                found.push_back(entry.path());
            }
        }
        return found;
    }

    test::TempFolder folder_;
    SettingsFiles files_ = SettingsFiles::inFolder(folder_.path());
};

TEST_F(ProfileSetFiles, AWriteKeepsTheOldFilesAndOneThatFailsPutsThemBack) {
    const std::string config = readText(files_.config);
    const std::string macros = readText(files_.macros);
    ProfileStore store(files_.config);
    const MacroStore macroStore(files_.macros);

    // The files' own set written back gives the same bytes; the old files are in the backup.
    std::filesystem::path backup;
    ASSERT_EQ(writeProfileSet(files_, store, macroStore, readProfileSet(files_), &backup), "");
    EXPECT_EQ(readText(files_.config), config);
    EXPECT_EQ(readText(files_.macros), macros);
    EXPECT_EQ(readText(backup / "config.ini"), config);
    EXPECT_FALSE(fs::exists(backup / "programs.ini")); // there was none

    // programs.ini cannot be written (a folder in its place): config.ini and Macro.dat, written
    // already, are put back, and no second backup stays.
    fs::create_directory(files_.programs);
    ProfileSet other = oddSet();
    EXPECT_NE(writeProfileSet(files_, store, macroStore, other), "");
    EXPECT_EQ(readText(files_.config), config);
    EXPECT_EQ(readText(files_.macros), macros);
    EXPECT_EQ(backups().size(), 1U);
}

} // namespace
} // namespace veldran
