// The lock that makes the driver a single instance per user: a lock file in the user's private
// runtime folder, held with flock for the life of the process. The kernel drops it when the
// holder ends, even by kill -9. A folder or lock file that another user could have planted is not
// trusted.
#pragma once

#include "platform/linux/UniqueFd.h"

#include <string>

namespace veldran {

class InstanceLock {
public:
    enum class Outcome {
        Claimed,       // this process is the instance
        HeldElsewhere, // another process of this user holds the lock
        Unprotected,   // the lock cannot be trusted or made (problem says why)
    };

    // Tries to take the lock file at path.
    Outcome claim(const std::string& path);
    // Why the lock could not be used (for Unprotected).
    const std::string& problem() const { return problem_; }

private:
    UniqueFd fd_;
    std::string problem_;
};

} // namespace veldran
