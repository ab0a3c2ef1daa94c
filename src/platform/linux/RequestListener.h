// The listening side of the single-instance socket: a Unix stream socket bound in the user's
// private runtime folder, accepted from without blocking. Running out of descriptors (a flood of
// idle connections) never ends the listening: the newest connection is then dropped, and the
// connections that follow are served again as soon as descriptors are free.
#pragma once

#include "platform/linux/UniqueFd.h"

#include <string>

namespace veldran {

class RequestListener {
public:
    RequestListener() = default;
    ~RequestListener();
    RequestListener(const RequestListener&) = delete;
    RequestListener& operator=(const RequestListener&) = delete;

    // Listens at path. A socket file that a killed instance left there is removed first; anything
    // else at path is left alone and makes the listen fail. "" on success, else why not (one
    // line).
    std::string listen(const std::string& path);
    // The listening descriptor (readable when a connection waits), -1 before listen.
    int descriptor() const { return fd_.get(); }
    // The next waiting connection (close-on-exec, non-blocking), or -1 when none waits.
    int accept();

private:
    UniqueFd fd_;
    UniqueFd spare_; // kept for taking and dropping a connection when descriptors run out
    std::string path_;
};

} // namespace veldran
