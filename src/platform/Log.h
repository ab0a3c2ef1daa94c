// The driver's one way to tell the user something on standard error: one line at a time, each
// with the prefix "veldran-driver: ". Tests put a sink of their own in its place, as they hand in
// a clock of their own, to read what would have been said.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace veldran {

inline constexpr std::string_view kLogPrefix = "veldran-driver: ";

// Says text (one line, without its line feed) on standard error, or to the sink in place.
// Safe to call from any thread.
void logLine(std::string_view text);

// Where the lines go while it lives (they then reach the sink with their prefix, without the
// line feed); the one it replaced comes back afterwards.
class ScopedLogSink {
public:
    using Sink = std::function<void(const std::string& line)>;
    explicit ScopedLogSink(Sink sink);
    ~ScopedLogSink();
    ScopedLogSink(const ScopedLogSink&) = delete;
    ScopedLogSink& operator=(const ScopedLogSink&) = delete;

private:
    Sink previous_;
};

} // namespace veldran
