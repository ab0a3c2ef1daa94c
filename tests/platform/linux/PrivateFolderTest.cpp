// The private folder of the lock and the sockets: created 0700 whatever the umask, and refused
// when another user could have planted it or may use it.
#include "platform/PrivateFolder.h"

#include "platform/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace veldran {
namespace {

using test::TempFolder;

mode_t modeOf(const std::filesystem::path& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

TEST(PrivateFolder, IsCreatedPrivateAndRefusedWhenOthersCouldUseIt) {
    TempFolder root;
    const auto folder = root / "veldran-1000";
    const mode_t oldMask = ::umask(0);
    EXPECT_EQ(ensurePrivateFolder(folder), "");
    ::umask(oldMask);
    EXPECT_EQ(modeOf(folder), 0700u);
    EXPECT_EQ(ensurePrivateFolder(folder), ""); // there already, and fit

    ASSERT_EQ(::chmod(folder.c_str(), 0755), 0);
    EXPECT_EQ(ensurePrivateFolder(folder), folder.string() + " has mode 0755: others may use it");
    ASSERT_EQ(::chmod(folder.c_str(), 0700), 0);

    const auto link = root / "planted";
    std::filesystem::create_directory_symlink(folder, link);
    EXPECT_EQ(ensurePrivateFolder(link), link.string() + " is not a folder");

    if (::getuid() == 0) {
        ASSERT_EQ(::chown(folder.c_str(), 65534, 65534), 0);
        EXPECT_EQ(ensurePrivateFolder(folder),
                  folder.string() + " belongs to uid 65534, not to this user");
    }
}

TEST(PrivateFolder, ALockIsNeverOpenedThroughALinkOrWhenAnotherUserPlantedIt) {
    TempFolder folder;
    std::string problem;
    const int fd = openPrivateLockFile(folder / "app.lock", problem);
    EXPECT_GE(fd, 0) << problem;
    ::close(fd);
    EXPECT_EQ(modeOf(folder / "app.lock"), 0600u);

    // A link planted in place of the lock: nothing is created where it points.
    std::filesystem::create_symlink(folder / "victim", folder / "link.lock");
    EXPECT_EQ(openPrivateLockFile(folder / "link.lock", problem), -1);
    EXPECT_EQ(problem, (folder / "link.lock").string() + " is a symbolic link");
    EXPECT_FALSE(std::filesystem::exists(folder / "victim"));
}

} // namespace
} // namespace veldran
