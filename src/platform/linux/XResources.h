// X resources that free themselves: a Display connection closed and an xcb reply freed when
// their owner goes, so that no early return leaves one behind.
#pragma once

#include <cstdlib>
#include <memory>

struct _XDisplay; // Xlib's Display, without Xlib's macros in every includer

namespace veldran {

struct DisplayCloser {
    void operator()(_XDisplay* display) const; // XCloseDisplay
};
using UniqueDisplay = std::unique_ptr<_XDisplay, DisplayCloser>;

// xcb hands out replies and events allocated with malloc, for the caller to free.
struct XcbFree {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename Reply> using XcbReply = std::unique_ptr<Reply, XcbFree>;

} // namespace veldran
