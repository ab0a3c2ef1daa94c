// What is known of one HID interface of the machine: its node, identifiers, top-level usage and
// report lengths, as the HID bus lists it and the virtual mouse describes it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace veldran {

// What discovery needs to know of one HID interface: one top-level collection of a device. A
// device node that holds several collections gives one entry for each, all with its path.
struct HidInterfaceInfo {
    std::string path;            // device node path, used to open it and to match notices
    std::uint16_t vendorId = 0;  // USB vendor identifier
    std::uint16_t productId = 0; // USB product identifier
    std::uint16_t usagePage = 0; // top-level collection usage page
    std::uint16_t usage = 0;     // top-level collection usage
    int inputReportLength = 0;   // bytes, report id included
    int featureReportLength = 0; // bytes, report id included
    // The report ids of the collection's reports; empty when the device numbers no reports.
    std::vector<std::uint8_t> reportIds;
};

} // namespace veldran
