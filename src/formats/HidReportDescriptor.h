// Reads a HID report descriptor for what discovery needs of a device: every top-level collection
// with its usage page and usage, the report ids its reports carry, and its own longest input,
// output and feature report in bytes. Lengths count the report id byte; on a device without
// report ids that byte is the 0 that the bus puts in front of each report.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace veldran {

struct HidCollectionSummary {
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
    // The report ids of the collection's reports, ascending; empty when the device uses none.
    std::vector<std::uint8_t> reportIds;
    int inputReportLength = 0;   // 0 when the collection declares no input report
    int outputReportLength = 0;  // 0 when the collection declares no output report
    int featureReportLength = 0; // 0 when the collection declares no feature report
};

struct HidDescriptorSummary {
    bool usesReportIds = false;                    // every report begins with its report id
    std::vector<HidCollectionSummary> collections; // top-level collections, in order
};

// Longest report length that a summary gives; longer declarations are reported as this value
// so that lengths always fit an int and a caller can still see that they are out of range.
inline constexpr int kMaxHidReportLength = 1 << 16;

// Returns nothing when the descriptor is malformed: an item runs past the end, no collection is
// opened, a collection is closed more often than opened or left open, a report id is not a
// byte from 1 to 255, or the global-state stack is misused.
std::optional<HidDescriptorSummary> parseHidReportDescriptor(std::span<const std::uint8_t> bytes);

} // namespace veldran
