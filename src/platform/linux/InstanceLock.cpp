#include "platform/linux/InstanceLock.h"

#include "platform/PrivateFolder.h"

#include <sys/file.h>

namespace veldran {

InstanceLock::Outcome InstanceLock::claim(const std::string& path) {
    problem_.clear();
    UniqueFd fd(openPrivateLockFile(path, problem_));
    if (!fd.valid()) {
        return Outcome::Unprotected;
    }
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
        return Outcome::HeldElsewhere;
    }
    fd_ = std::move(fd);
    return Outcome::Claimed;
}

} // namespace veldran
