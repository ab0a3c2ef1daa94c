// What a reader of one top-level collection passes on from a report read off its device node:
// a node may carry several collections (a keyboard beside the vendor ones), and a device without
// report ids sends its reports without the id byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace veldran {

// Copies one report as the node delivered it (raw) into out, the way a reader of the collection
// with these report ids sees it, and returns the number of bytes put into out (at most
// out.size()). With report ids, a report whose id (byte 0) is not the collection's gives 0: it is
// dropped. Without report ids (reportIds empty) the report gets a 0 in front, so that byte 1 is
// its first data byte as with a numbered device. An empty raw report gives 0.
std::size_t filterCollectionReport(std::span<const std::uint8_t> reportIds,
                                   std::span<const std::uint8_t> raw, std::span<std::uint8_t> out);

} // namespace veldran
