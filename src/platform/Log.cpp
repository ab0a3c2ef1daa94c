#include "platform/Log.h"

#include <cstdio>
#include <mutex>
#include <utility>

namespace veldran {
namespace {

std::mutex& sinkMutex() {
    static std::mutex mutex;
    return mutex;
}

ScopedLogSink::Sink& currentSink() {
    static ScopedLogSink::Sink sink;
    return sink;
}

} // namespace

void logLine(std::string_view text) {
    std::string line(kLogPrefix);
    line += text;
    std::lock_guard lock(sinkMutex());
    if (const auto& sink = currentSink()) {
        sink(line);
        return;
    }
    line += '\n';
    std::fputs(line.c_str(), stderr);
}

ScopedLogSink::ScopedLogSink(Sink sink) {
    std::lock_guard lock(sinkMutex());
    previous_ = std::exchange(currentSink(), std::move(sink));
}

ScopedLogSink::~ScopedLogSink() {
    std::lock_guard lock(sinkMutex());
    currentSink() = std::move(previous_);
}

} // namespace veldran
