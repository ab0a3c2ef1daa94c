#include "platform/PrivateFolder.h"

#include "platform/linux/UniqueFd.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace veldran {

namespace fs = std::filesystem;

namespace {

enum class Sharing {
    Private,      // no one else may use it at all
    OthersMayRead // no one else may change it
};

// What makes a file or folder unfit to be the driver's: another owner, or access for others
// that the sharing does not allow. "" when nothing does.
std::string ownershipProblem(const std::string& path, const struct stat& info, Sharing sharing) {
    if (info.st_uid != ::getuid()) {
        return path + " belongs to uid " + std::to_string(info.st_uid) + ", not to this user";
    }
    if (sharing == Sharing::Private && (info.st_mode & 077) != 0) {
        char mode[8];
        std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(info.st_mode & 07777));
        return path + " has mode " + mode + ": others may use it";
    }
    if (sharing == Sharing::OthersMayRead && !S_ISLNK(info.st_mode) &&
        (info.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        return path + " may be written by group or others";
    }
    return {};
}

} // namespace

namespace {

// Whether folder is there as a real folder of this user's that no one else may use.
bool isPrivateFolderOfUser(const std::string& folder) {
    struct stat info {};
    return ::lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           ownershipProblem(folder, info, Sharing::Private).empty();
}

} // namespace

RuntimeFolder runtimeFolder() {
    if (const char* chosen = std::getenv(kRuntimeFolderVariable); chosen && *chosen != '\0') {
        return {chosen, ensurePrivateFolder(chosen)};
    }
    const std::string uid = std::to_string(::getuid());
    // The session manager's folder of this uid: the same for a desktop session, an ssh session,
    // a cron job and a service, whatever their environment says.
    if (std::string session = "/run/user/" + uid; isPrivateFolderOfUser(session)) {
        return {std::move(session), {}};
    }
    RuntimeFolder folder{"/tmp/veldran-" + uid, {}};
    folder.problem = ensurePrivateFolder(folder.path);
    return folder;
}

std::string ensurePrivateFolder(const std::string& folder) {
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return "cannot create " + folder + ": " + std::strerror(errno);
    }
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0) {
        return "cannot examine " + folder + ": " + std::strerror(errno);
    }
    if (!S_ISDIR(info.st_mode)) {
        return folder + " is not a folder";
    }
    return ownershipProblem(folder, info, Sharing::Private);
}

int openPrivateLockFile(const std::string& path, std::string& problem) {
    UniqueFd fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!fd.valid()) {
        problem = errno == ELOOP ? path + " is a symbolic link"
                                 : "cannot open " + path + ": " + std::strerror(errno);
        return -1;
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        problem = "cannot examine " + path + ": " + std::strerror(errno);
    } else if (!S_ISREG(info.st_mode)) {
        problem = path + " is not a regular file";
    } else {
        problem = ownershipProblem(path, info, Sharing::Private);
    }
    return problem.empty() ? fd.release() : -1;
}

std::string tamperProblem(const fs::path& path, bool followLink) {
    struct stat info {};
    const int found = followLink ? ::stat(path.c_str(), &info) : ::lstat(path.c_str(), &info);
    if (found != 0) {
        return {};
    }
    return ownershipProblem(path.string(), info, Sharing::OthersMayRead);
}

bool mayCreateFilesIn(const fs::path& folder) {
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

std::error_code createPrivateFolders(const fs::path& folder) {
    std::error_code error;
    if (folder.empty() || fs::is_directory(folder, error)) {
        return {};
    }
    if (folder.has_parent_path() && folder.parent_path() != folder) {
        if (const auto parentError = createPrivateFolders(folder.parent_path())) {
            return parentError;
        }
    }
    if (::mkdir(folder.c_str(), 0700) != 0) {
        return errno == EEXIST && fs::is_directory(folder, error)
                   ? std::error_code()
                   : std::error_code(errno, std::generic_category());
    }
    ::chmod(folder.c_str(), 0700);
    return {};
}

std::string homeFolderOfUser() {
    const passwd* entry = ::getpwuid(::getuid());
    return entry != nullptr && entry->pw_dir != nullptr ? std::string(entry->pw_dir)
                                                        : std::string();
}

} // namespace veldran
