// Reads a HID report descriptor for what discovery needs of an interface: the usage page and
// usage of its first top-level collection, and the longest input, output and feature report in
// bytes with the report id byte included (one byte is counted for it even when the descriptor
// declares no report ids, as the interface's report buffers always carry it).
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace veldran {

struct HidDescriptorSummary {
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
    int inputReportLength = 0;   // 0 when the descriptor declares no input report
    int outputReportLength = 0;  // 0 when the descriptor declares no output report
    int featureReportLength = 0; // 0 when the descriptor declares no feature report
};

// Longest report length that the summary gives; longer declarations are reported as this value
// so that lengths always fit an int and a caller can still see that they are out of range.
inline constexpr int kMaxHidReportLength = 1 << 16;

// Returns nothing when the descriptor is malformed: an item runs past the end, a collection is
// never opened or is closed more often than opened, or the global-state stack is misused.
std::optional<HidDescriptorSummary> parseHidReportDescriptor(std::span<const std::uint8_t> bytes);

} // namespace veldran
