#include "platform/PrivateFolder.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace veldran {

namespace {

// What makes a file or folder unfit to be private: another owner, or any access for others.
std::string ownershipProblem(const std::string& path, const struct stat& info) {
    if (info.st_uid != ::getuid()) {
        return path + " belongs to uid " + std::to_string(info.st_uid) + ", not to this user";
    }
    if ((info.st_mode & 077) != 0) {
        char mode[8];
        std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(info.st_mode & 07777));
        return path + " has mode " + mode + ": others may use it";
    }
    return {};
}

} // namespace

RuntimeFolder runtimeFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && *runtime != '\0') {
        return {runtime, {}};
    }
    RuntimeFolder folder{"/tmp/veldran-" + std::to_string(::getuid()), {}};
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
    return ownershipProblem(folder, info);
}

int openPrivateLockFile(const std::string& path, std::string& problem) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        problem = errno == ELOOP ? path + " is a symbolic link"
                                 : "cannot open " + path + ": " + std::strerror(errno);
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        problem = "cannot examine " + path + ": " + std::strerror(errno);
    } else if (!S_ISREG(info.st_mode)) {
        problem = path + " is not a regular file";
    } else {
        problem = ownershipProblem(path, info);
    }
    if (!problem.empty()) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace veldran
