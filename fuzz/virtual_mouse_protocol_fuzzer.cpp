// Feeds arbitrary bytes as the stream a peer sends on the virtual mouse's socket: split into
// lines in arbitrary pieces, each line read as a command, hex bytes and an interface line, as
// both sides of the protocol read them. Checks the line bound and the hex round trip.
#include "formats/VirtualMouseProtocol.h"

#include <cstdlib>
#include <string_view>

using namespace veldran::virtualmouse;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view stream(reinterpret_cast<const char*>(data), size);
    LineSplitter lines;
    // Pieces of varying length, as recv() hands them over.
    std::size_t at = 0;
    for (std::size_t piece = 1; at < stream.size(); piece = piece * 3 % 17 + 1) {
        if (!lines.feed(stream.substr(at, piece))) {
            return 0; // a line longer than the protocol allows: the peer is cut off
        }
        at += piece;
        while (lines.hasLine()) {
            const auto line = lines.next();
            if (!line || line->size() > kMaxLineLength || line->find('\n') != std::string::npos) {
                std::abort();
            }
            const auto [word, rest] = splitCommand(*line);
            if (word.size() + rest.size() > line->size()) {
                std::abort();
            }
            if (const auto bytes = parseHexBytes(rest)) {
                if (parseHexBytes(hexBytes(*bytes)) != bytes) {
                    std::abort();
                }
            }
            if (const auto interface = parseInterfaceLine(*line)) {
                if (const auto entries = interfacesOf(*interface); entries && entries->empty()) {
                    std::abort();
                }
            }
        }
        if (lines.next()) {
            std::abort(); // hasLine() said there was none
        }
    }
    return 0;
}
