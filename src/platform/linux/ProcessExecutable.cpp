#include "platform/linux/ProcessExecutable.h"

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace veldran {

std::string executableNameOf(unsigned pid) {
    if (pid == 0) {
        return {};
    }
    const std::string process = "/proc/" + std::to_string(pid);
    struct stat owner {};
    if (::stat(process.c_str(), &owner) != 0 || owner.st_uid != ::getuid()) {
        return {};
    }
    std::error_code error;
    const auto target = std::filesystem::read_symlink(process + "/exe", error);
    return error ? std::string() : target.filename().string();
}

} // namespace veldran
