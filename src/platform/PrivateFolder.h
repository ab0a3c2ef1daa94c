// The one rule by which the driver trusts a file or folder of its own, and the folders it keeps:
// a path is the driver's when it belongs to this user and no one else may change it; a private
// one (the runtime folder with the single-instance lock and the sockets) may not even be read by
// others. The runtime folder depends on the uid alone, never on XDG_RUNTIME_DIR: every process of
// the user (the desktop session, an ssh session, a cron job, a service) finds the same driver
// there. Where the session manager gives the user no folder, it is one of the user's own under
// /tmp: /tmp itself is never used directly, since another user could plant a socket, a lock or a
// symbolic link there first.
#pragma once

#include <filesystem>
#include <string>
#include <system_error>

namespace veldran {

struct RuntimeFolder {
    std::string path;
    std::string problem; // "" when path may be used, else why it may not (one line)
};

// Names a runtime folder of the driver's own in place of the user's (tests, or two drivers side by
// side); it is used only as ensurePrivateFolder says.
inline constexpr const char* kRuntimeFolderVariable = "VELDRAN_RUNTIME_DIR";

// $VELDRAN_RUNTIME_DIR when set; else /run/user/UID when it is a folder of this user's that no one
// else may use; else /tmp/veldran-UID, created 0700 when missing and usable only as
// ensurePrivateFolder says.
RuntimeFolder runtimeFolder();

// Creates folder with mode 0700 when it is missing, then checks that it is a folder (not a
// symbolic link), owned by this user, that no one else may use. "" when it is, else what is wrong.
std::string ensurePrivateFolder(const std::string& folder);

// Opens (creating it 0600 when missing) a lock file in a private folder for reading and writing,
// never through a symbolic link, and checks that it is a regular file of this user's that no one
// else may use. The descriptor, or -1 with problem saying what is wrong.
int openPrivateLockFile(const std::string& path, std::string& problem);

// Why another user could change what is at path: it belongs to someone else, or group or others
// may write it (a symbolic link's own mode means nothing; its owner does). "" when no one else
// can, and when nothing is there. followLink examines what a symbolic link points to instead.
std::string tamperProblem(const std::filesystem::path& path, bool followLink);

// Whether this user may create files in folder (an atomic replacement writes a new file there).
bool mayCreateFilesIn(const std::filesystem::path& folder);

// Creates folder and the missing folders above it, each with mode 0700 whatever the umask.
std::error_code createPrivateFolders(const std::filesystem::path& folder);

// The home folder of this user as the password database has it ("" when it has none).
std::string homeFolderOfUser();

} // namespace veldran
