// Feeds arbitrary bytes as what a client of the single-instance socket sent so far, and checks
// how the request server frames them: a line is whole, within the length limit and alone; too
// long means no line feed in reach; waiting means there is room and no line feed yet; the same
// bytes with more after them never frame as waiting again. A framed line parses as the line
// parser takes it.
#include "formats/RequestLine.h"

#include <cstdlib>
#include <string>
#include <string_view>

using namespace veldran;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view received(reinterpret_cast<const char*>(data), size);
    const RequestFrame frame = frameRequest(received);
    const std::size_t feed = received.find('\n');
    const bool feedInReach = feed != std::string_view::npos && feed < kMaxRequestLine;
    switch (frame.kind) {
    case RequestFrame::Kind::Incomplete:
        if (feed != std::string_view::npos || size >= kMaxRequestLine) {
            std::abort();
        }
        break;
    case RequestFrame::Kind::TooLong:
        if (feedInReach || size < kMaxRequestLine) {
            std::abort();
        }
        break;
    case RequestFrame::Kind::Extra:
        if (!feedInReach || feed + 1 >= size) {
            std::abort();
        }
        break;
    case RequestFrame::Kind::Line: {
        if (!feedInReach || feed + 1 != size || frame.line != received.substr(0, feed)) {
            std::abort();
        }
        const Request request = parseRequestLine(frame.line);
        if (request.kind == Request::Kind::Invalid && request.error.empty()) {
            std::abort();
        }
        break;
    }
    }
    // The server decides on a peek of the first kMaxRequestLine + 1 bytes: what follows them
    // changes nothing.
    const RequestFrame peeked = frameRequest(received.substr(0, kMaxRequestLine + 1));
    if (peeked.kind != frame.kind || peeked.line != frame.line) {
        std::abort();
    }
    // Bytes that arrive later never turn a decided frame back into waiting.
    if (frame.kind != RequestFrame::Kind::Incomplete &&
        frameRequest(std::string(received) + "x").kind == RequestFrame::Kind::Incomplete) {
        std::abort();
    }
    return 0;
}
