// The report descriptors of the virtual mouse's interfaces: a standard wheel mouse, the vendor
// input collection (usage page 0xFF00, usage 1, report id 6) and the vendor feature collection
// (usage page 0xFF01, usage 1, report id 7), each in an interface of its own or, combined, both
// in one interface behind a keyboard collection (report id 1). Lengths count the report id byte.
#pragma once

#include <cstdint>
#include <vector>

namespace veldran::virtualmouse {

inline constexpr std::uint8_t kInputReportId = 6;
inline constexpr std::uint8_t kFeatureReportId = 7;
inline constexpr std::uint8_t kKeyboardReportId = 1;
// The keyboard collection's input report: id, modifiers, a reserved byte and six key usages.
inline constexpr int kKeyboardReportLength = 9;
// Report lengths the virtual mouse accepts on its command line.
inline constexpr int kMinReportLength = 1;
inline constexpr int kMaxReportLength = 4096;

std::vector<std::uint8_t> standardMouseDescriptor();
std::vector<std::uint8_t> vendorInputDescriptor(int inputLength);
std::vector<std::uint8_t> vendorFeatureDescriptor(int featureLength);
// A keyboard collection, then the vendor input and the vendor feature collection.
std::vector<std::uint8_t> combinedVendorDescriptor(int inputLength, int featureLength);

} // namespace veldran::virtualmouse
