// The interface entries of one HID device node, as discovery walks them: one entry for each
// top-level collection of the node's report descriptor, all with the node's path and identifiers
// and each with its own usage, report ids and report lengths.
#pragma once

#include "formats/HidInterfaceInfo.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace veldran {

// Nothing when the descriptor cannot be read.
std::optional<std::vector<HidInterfaceInfo>>
interfacesOfNode(const std::string& path, std::uint16_t vendorId, std::uint16_t productId,
                 std::span<const std::uint8_t> descriptor);

} // namespace veldran
