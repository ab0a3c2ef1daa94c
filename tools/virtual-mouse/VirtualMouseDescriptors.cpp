#include "VirtualMouseDescriptors.h"

namespace veldran::virtualmouse {
namespace {

// A vendor collection with one report of length - 1 data bytes after its report id.
std::vector<std::uint8_t> vendorDescriptor(std::uint8_t pageLow, std::uint8_t reportId, int length,
                                           std::uint8_t mainItem) {
    const auto count = static_cast<std::uint16_t>(length - 1);
    return {0x06,
            pageLow,
            0xFF, // usage page 0xFF00 + pageLow
            0x09,
            0x01, // usage 1
            0xA1,
            0x01, // collection (application)
            0x85,
            reportId, // report id
            0x15,
            0x00,
            0x26,
            0xFF,
            0x00, // logical 0 to 255
            0x75,
            0x08, // report size 8
            0x96,
            static_cast<std::uint8_t>(count), // report count (two bytes)
            static_cast<std::uint8_t>(count >> 8),
            0x09,
            0x01, // usage 1
            mainItem,
            0x02,  // input or feature (data, variable, absolute)
            0xC0}; // end collection
}

} // namespace

std::vector<std::uint8_t> standardMouseDescriptor() {
    // Five buttons, three padding bits, X, Y and the wheel: four bytes, no report id.
    return {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x01, 0xA1, 0x00, 0x05, 0x09, 0x19,
            0x01, 0x29, 0x05, 0x15, 0x00, 0x25, 0x01, 0x95, 0x05, 0x75, 0x01, 0x81, 0x02,
            0x95, 0x01, 0x75, 0x03, 0x81, 0x01, 0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x09,
            0x38, 0x15, 0x81, 0x25, 0x7F, 0x75, 0x08, 0x95, 0x03, 0x81, 0x06, 0xC0, 0xC0};
}

std::vector<std::uint8_t> vendorInputDescriptor(int inputLength) {
    return vendorDescriptor(0x00, kInputReportId, inputLength, 0x81);
}

std::vector<std::uint8_t> vendorFeatureDescriptor(int featureLength) {
    return vendorDescriptor(0x01, kFeatureReportId, featureLength, 0xB1);
}

std::vector<std::uint8_t> combinedVendorDescriptor(int inputLength, int featureLength) {
    // Boot-keyboard layout under report id 1: eight modifier bits, a reserved byte, six keys.
    std::vector<std::uint8_t> bytes = {0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x85, kKeyboardReportId,
                                       0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15, 0x00,
                                       0x25, 0x01, 0x75, 0x01, 0x95, 0x08, 0x81, 0x02,
                                       0x95, 0x01, 0x75, 0x08, 0x81, 0x01, 0x95, 0x06,
                                       0x75, 0x08, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x05,
                                       0x07, 0x19, 0x00, 0x2A, 0xFF, 0x00, 0x81, 0x00,
                                       0xC0};
    const auto input = vendorInputDescriptor(inputLength);
    const auto feature = vendorFeatureDescriptor(featureLength);
    bytes.insert(bytes.end(), input.begin(), input.end());
    bytes.insert(bytes.end(), feature.begin(), feature.end());
    return bytes;
}

} // namespace veldran::virtualmouse
