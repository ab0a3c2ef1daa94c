// Feeds arbitrary bytes as a request line of the single-instance socket and checks that every
// request parsed from it is well formed and reads back from its own line; the same bytes as an
// answer reach the terminal without a control character.
#include "formats/RequestLine.h"

#include <cstdlib>
#include <string_view>

using namespace veldran;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    for (const char c : printableAnswer(line)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            std::abort();
        }
    }
    const Request request = parseRequestLine(line);
    if (request.kind == Request::Kind::Invalid) {
        if (request.error.empty()) {
            std::abort(); // a refusal always says why
        }
        return 0;
    }
    if (request.kind == Request::Kind::Profile && (request.profile < 1 || request.profile > 5)) {
        std::abort();
    }
    const Request again = parseRequestLine(requestLine(request));
    if (again.kind != request.kind || again.profile != request.profile) {
        std::abort();
    }
    return 0;
}
