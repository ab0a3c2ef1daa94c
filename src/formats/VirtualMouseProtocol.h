// The line protocol between the driver's VirtualHidBus and veldran-virtual-mouse: hex byte
// texts, interface descriptions, and a line splitter for stream sockets. One line per message,
// ended by '\n'; docs/virtual-mouse.md describes the conversation.
#pragma once

#include "formats/HidInterfaceInfo.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace veldran::virtualmouse {

// Longest line either side accepts; a peer that sends a longer one is cut off.
inline constexpr std::size_t kMaxLineLength = 16384;

// Bytes as two lowercase hex digits each, separated by single spaces ("07 10 05 09").
std::string hexBytes(std::span<const std::uint8_t> bytes);
// Hex bytes separated by blanks (one or two digits each, any case). Nothing when a token is not
// a byte.
std::optional<std::vector<std::uint8_t>> parseHexBytes(std::string_view text);

// One interface as the virtual mouse lists it: its path, identifiers and report descriptor.
struct InterfaceLine {
    std::string path;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::vector<std::uint8_t> descriptor;
};
// "interface PATH VVVV PPPP DESCRIPTOR-HEX" (the descriptor's bytes without blanks).
std::string formatInterfaceLine(const InterfaceLine& line);
std::optional<InterfaceLine> parseInterfaceLine(std::string_view text);
// What discovery needs of an interface line, read from its report descriptor: one entry per
// top-level collection, all with the line's path. Nothing when the descriptor cannot be read.
std::optional<std::vector<HidInterfaceInfo>> interfacesOf(const InterfaceLine& line);

// The first word of a line and the rest after one blank ("feature 07 10" -> "feature", "07 10").
std::pair<std::string_view, std::string_view> splitCommand(std::string_view line);

// Splits a byte stream into lines. Carriage returns before '\n' are dropped. Lines are taken by
// offset and the consumed front is dropped in bulk, so that a large backlog costs linear time.
class LineSplitter {
public:
    // Adds received bytes. False when a line grew longer than kMaxLineLength.
    bool feed(std::string_view bytes);
    // The next complete line, if there is one.
    std::optional<std::string> next();
    // Whether next() has a line to give.
    bool hasLine() const;

private:
    std::string pending_;
    std::size_t start_ = 0; // where the first line not yet taken begins
};

} // namespace veldran::virtualmouse
