// The report descriptors of the virtual mouse's three interfaces: a standard wheel mouse, the
// vendor input interface (usage page 0xFF00, usage 1, report id 6) and the vendor feature
// interface (usage page 0xFF01, usage 1, report id 7). Lengths count the report id byte.
#pragma once

#include <cstdint>
#include <vector>

namespace veldran::virtualmouse {

inline constexpr std::uint8_t kInputReportId = 6;
inline constexpr std::uint8_t kFeatureReportId = 7;
// Report lengths the virtual mouse accepts on its command line.
inline constexpr int kMinReportLength = 1;
inline constexpr int kMaxReportLength = 4096;

std::vector<std::uint8_t> standardMouseDescriptor();
std::vector<std::uint8_t> vendorInputDescriptor(int inputLength);
std::vector<std::uint8_t> vendorFeatureDescriptor(int featureLength);

} // namespace veldran::virtualmouse
