#include "formats/HidInterfaces.h"

#include "formats/HidReportDescriptor.h"

namespace veldran {

std::optional<std::vector<HidInterfaceInfo>>
interfacesOfNode(const std::string& path, std::uint16_t vendorId, std::uint16_t productId,
                 std::span<const std::uint8_t> descriptor) {
    const auto summary = parseHidReportDescriptor(descriptor);
    if (!summary) {
        return std::nullopt;
    }
    std::vector<HidInterfaceInfo> entries;
    for (const HidCollectionSummary& collection : summary->collections) {
        HidInterfaceInfo info;
        info.path = path;
        info.vendorId = vendorId;
        info.productId = productId;
        info.usagePage = collection.usagePage;
        info.usage = collection.usage;
        info.inputReportLength = collection.inputReportLength;
        info.featureReportLength = collection.featureReportLength;
        info.reportIds = collection.reportIds;
        entries.push_back(std::move(info));
    }
    return entries;
}

} // namespace veldran
