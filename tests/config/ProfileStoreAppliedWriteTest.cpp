// Apply's write of config.ini: CurConfig and Config6 in one replacement, with the bytes of the two
// writes it replaces, on every kind of file a user may have, and no temporary file left behind.
#include "config/FunctionCode.h"
#include "config/ProfileStore.h"
#include "platform/TempFolder.h"

#include <gtest/gtest.h>

namespace veldran {
namespace {

using test::readText;
using test::TempFolder;
using test::writeText;

TEST(ProfileStoreAppliedWrite, GivesTheBytesOfTheTwoWritesOnEveryKindOfFile) {
    Profile profile;
    resetToFactory(profile);
    profile.setCode(3, 31);
    profile.stages[1].editedCode.store(300); // written as edited, not cut
    profile.lightMode.store(200);
    const std::vector<std::pair<std::string, std::string>> starts = {
        {"missing", ""},
        {"empty", ""},
        {"default",
         readText(std::filesystem::path(VELDRAN_TEST_SOURCE_DIR) / "resources/config.ini")},
        {"crlf, no Init, Config6 first, no final line break",
         "[config6]\r\nk1=9\r\n; note\r\n[Config1]\r\nK1=1"},
        {"Init without CurConfig, a second Init, keys before any section",
         "loose=1\n[Init]\nOther=2\n[Config6]\nLED_STATUS=0\n[Init]\nCurConfig=4\n"},
        {"BOM", "\xEF\xBB\xBF[Init]\nCurConfig=3\n"},
    };
    for (const auto& [name, text] : starts) {
        TempFolder folder;
        const auto twoWrites = folder / "two.ini";
        const auto oneWrite = folder / "one.ini";
        if (name != "missing") {
            writeText(twoWrites, text);
            writeText(oneWrite, text);
        }
        ProfileStore two(twoWrites);
        ASSERT_TRUE(two.writeCurConfig(-7));
        ASSERT_TRUE(two.save(kAppliedProfile, profile));
        ASSERT_TRUE(ProfileStore(oneWrite).saveApplied(-7, profile));
        EXPECT_EQ(readText(oneWrite), readText(twoWrites)) << name;
        // Only the two files: no temporary file stays beside them.
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                                std::filesystem::directory_iterator()),
                  2)
            << name;
    }
}

} // namespace
} // namespace veldran
