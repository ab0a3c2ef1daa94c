// The per-user folder that holds the driver's single-instance lock and local sockets:
// $XDG_RUNTIME_DIR, or where that is unset a folder of the user's own under /tmp. /tmp itself is
// never used directly: another user could plant a socket, a lock or a symbolic link there first.
#pragma once

#include <string>

namespace veldran {

struct RuntimeFolder {
    std::string path;
    std::string problem; // "" when path may be used, else why it may not (one line)
};

// $XDG_RUNTIME_DIR when set and not empty (the session's own, taken as it is); else
// /tmp/veldran-UID, created 0700 when missing and usable only as ensurePrivateFolder says.
RuntimeFolder runtimeFolder();

// Creates folder with mode 0700 when it is missing, then checks that it is a folder (not a
// symbolic link), owned by this user, that no one else may use. "" when it is, else what is wrong.
std::string ensurePrivateFolder(const std::string& folder);

// Opens (creating it 0600 when missing) a lock file in a private folder for reading and writing,
// never through a symbolic link, and checks that it is a regular file of this user's that no one
// else may use. The descriptor, or -1 with problem saying what is wrong.
int openPrivateLockFile(const std::string& path, std::string& problem);

} // namespace veldran
