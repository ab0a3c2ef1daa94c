// Where the skin and the settings are found: a build or portable copy keeps its settings beside
// itself, an installed one uses the user's configuration folder (XDG rules), which the first
// start makes and fills from the installed defaults without ever overwriting a file.
#include "config/SettingsLocation.h"

#include "platform/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace veldran {
namespace {

namespace fs = std::filesystem;
using test::readText;
using test::TempFolder;
using test::writeText;

const fs::path kDataFromBin = "../share/veldran";

TEST(SettingsLocation, UserFolderFollowsTheXdgRules) {
    EXPECT_EQ(userSettingsFolder({"/x/conf", "/home/u"}), fs::path("/x/conf/veldran"));
    EXPECT_EQ(userSettingsFolder({"", "/home/u"}), fs::path("/home/u/.config/veldran"));
    // A relative XDG_CONFIG_HOME is not valid and is ignored; so is a relative HOME.
    EXPECT_EQ(userSettingsFolder({"conf", "/home/u"}), fs::path("/home/u/.config/veldran"));
    EXPECT_EQ(userSettingsFolder({"", "home"}), std::nullopt);
    EXPECT_EQ(userSettingsFolder({"", ""}), std::nullopt);
}

class InstalledTree : public ::testing::Test {
protected:
    InstalledTree() {
        fs::create_directories(bin_);
        fs::create_directories(data_ / "skins");
        writeText(data_ / "config.ini", "[Init]\nCurConfig=1\n");
        writeText(data_ / "Macro.dat", "[Macros]\nmacroNum=0\n");
    }
    FileLocations locate() const {
        return locateFiles(bin_, kDataFromBin, {"", (folder_ / "home").string()});
    }

    TempFolder folder_;
    fs::path bin_ = folder_ / "prefix" / "bin";
    fs::path data_ = folder_ / "prefix" / "share" / "veldran";
    fs::path user_ = folder_ / "home" / ".config" / "veldran";
};

TEST_F(InstalledTree, UsesTheDataFolderAndTheUserFolder) {
    const FileLocations files = locate();
    EXPECT_FALSE(files.besideExecutable);
    EXPECT_EQ(files.skinFolder(), data_ / "skins");
    EXPECT_EQ(files.configPath(), user_ / "config.ini");
    EXPECT_EQ(files.macroPath(), user_ / "Macro.dat");
}

TEST_F(InstalledTree, FirstStartCopiesTheDefaultsAndLaterStartsKeepTheUsersFiles) {
    const mode_t oldMask = ::umask(022);
    const std::string problem = prepareSettingsFolder(locate());
    ::umask(oldMask);
    ASSERT_EQ(problem, "");
    // Every folder made on the way is the user's alone, and so are the files.
    for (const auto& [path, mode] : {std::pair{user_, 0700u},
                                     {user_.parent_path(), 0700u},
                                     {user_ / "config.ini", 0600u},
                                     {user_ / "Macro.dat", 0600u}}) {
        struct stat info {};
        ASSERT_EQ(::stat(path.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, mode) << path;
    }
    EXPECT_EQ(readText(user_ / "config.ini"), "[Init]\nCurConfig=1\n");
    EXPECT_EQ(readText(user_ / "Macro.dat"), "[Macros]\nmacroNum=0\n");
    // Installed defaults are read-only; the user's copies must be writable.
    EXPECT_NE(fs::status(user_ / "config.ini").permissions() & fs::perms::owner_write,
              fs::perms::none);

    writeText(user_ / "config.ini", "[Init]\nCurConfig=4\n");
    fs::remove(user_ / "Macro.dat");
    ASSERT_EQ(prepareSettingsFolder(locate()), "");
    EXPECT_EQ(readText(user_ / "config.ini"), "[Init]\nCurConfig=4\n");
    EXPECT_EQ(readText(user_ / "Macro.dat"), "[Macros]\nmacroNum=0\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(user_), fs::directory_iterator()), 2);
}

TEST_F(InstalledTree, SaysWhatWentWrongWhenTheFolderCannotBeMadeOrTheDefaultsRead) {
    fs::create_directories(folder_ / "home");
    writeText(folder_ / "home" / ".config", "a file where the folder should be");
    EXPECT_NE(prepareSettingsFolder(locate()).find(user_.string()), std::string::npos);

    fs::remove(folder_ / "home" / ".config");
    fs::remove(data_ / "Macro.dat");
    const std::string problem = prepareSettingsFolder(locate());
    EXPECT_NE(problem.find((data_ / "Macro.dat").string()), std::string::npos) << problem;
    EXPECT_TRUE(fs::exists(user_ / "config.ini")); // the other file still arrived
}

TEST_F(InstalledTree, ABuildOrPortableFolderKeepsItsSettingsBesideTheExecutable) {
    fs::create_directories(bin_ / "skins");
    writeText(bin_ / "config.ini", "[Init]\nCurConfig=2\n");
    const FileLocations files = locate();
    EXPECT_TRUE(files.besideExecutable);
    EXPECT_EQ(files.skinFolder(), bin_ / "skins");
    EXPECT_EQ(files.configPath(), bin_ / "config.ini");
    EXPECT_EQ(files.macroPath(), bin_ / "Macro.dat");
    ASSERT_EQ(prepareSettingsFolder(files), "");
    EXPECT_FALSE(fs::exists(folder_ / "home"));

    // Without a config.ini beside it, or without a way to write there, the user folder it is.
    fs::remove(bin_ / "config.ini");
    EXPECT_FALSE(locate().besideExecutable);
    writeText(bin_ / "config.ini", "[Init]\nCurConfig=2\n");
    fs::permissions(bin_, fs::perms::owner_read | fs::perms::owner_exec);
    const bool beside = locate().besideExecutable;
    fs::permissions(bin_, fs::perms::owner_all);
    if (::geteuid() != 0) {
        EXPECT_FALSE(beside);
    }
    // With no user folder to go to, beside the executable is all there is.
    EXPECT_TRUE(locateFiles(bin_, kDataFromBin, {"", ""}).besideExecutable);
}

// A portable folder that others may write: its defaults and translations could be swapped as
// well, so the first start fills the user's folder from the installed data, never from there.
TEST_F(InstalledTree, AFolderOthersMayWriteSuppliesNeitherDefaultsNorTranslations) {
    fs::create_directories(bin_ / "skins");
    writeText(bin_ / "config.ini", "[Init]\nCurConfig=5\n");
    writeText(bin_ / "Macro.dat", "[Macros]\nmacroNum=9\n");
    ASSERT_EQ(::chmod(bin_.c_str(), 0777), 0);
    const FileLocations files = locate();
    ASSERT_EQ(prepareSettingsFolder(files), "");
    EXPECT_EQ(files.trustedDataFolder, data_);
    EXPECT_EQ(readText(user_ / "config.ini"), "[Init]\nCurConfig=1\n");
    EXPECT_EQ(readText(user_ / "Macro.dat"), "[Macros]\nmacroNum=0\n");
    ASSERT_EQ(::chmod(bin_.c_str(), 0755), 0);
    EXPECT_EQ(locate().trustedDataFolder, bin_);
}

// Settings in a folder that others may write could be swapped or linked elsewhere by them: the
// user's folder is used instead, and the reason is kept to be told.
TEST_F(InstalledTree, SettingsBesideTheExecutableAreTrustedOnlyWhenNoOneElseCanChangeThem) {
    fs::create_directories(bin_ / "skins");
    writeText(bin_ / "config.ini", "[Init]\nCurConfig=2\n");
    ASSERT_EQ(::chmod(bin_.c_str(), 0777), 0);
    FileLocations files = locate();
    EXPECT_FALSE(files.besideExecutable);
    EXPECT_EQ(files.configPath(), user_ / "config.ini");
    EXPECT_EQ(files.besideExecutableRefused, bin_.string() + " may be written by group or others");

    ASSERT_EQ(::chmod(bin_.c_str(), 0755), 0);
    ASSERT_EQ(::chmod((bin_ / "config.ini").c_str(), 0664), 0);
    EXPECT_FALSE(locate().besideExecutable);
    ASSERT_EQ(::chmod((bin_ / "config.ini").c_str(), 0644), 0);
    EXPECT_TRUE(locate().besideExecutable);
    EXPECT_EQ(locate().besideExecutableRefused, "");

    if (::getuid() == 0) {
        writeText(bin_ / "Macro.dat", "[Macros]\n");
        ASSERT_EQ(::lchown((bin_ / "Macro.dat").c_str(), 65534, 65534), 0);
        files = locate();
        EXPECT_FALSE(files.besideExecutable);
        EXPECT_EQ(files.besideExecutableRefused,
                  (bin_ / "Macro.dat").string() + " belongs to uid 65534, not to this user");
    }
}

} // namespace
} // namespace veldran
