// Feeds arbitrary bytes to the HID report descriptor reader: it must never read out of bounds,
// overflow or hang, and any summary it gives must have at least one collection, lengths in
// range, and report ids that are ascending, distinct and present exactly when ids are used.
#include "formats/HidReportDescriptor.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto summary = veldran::parseHidReportDescriptor({data, size});
    if (!summary) {
        return 0;
    }
    if (summary->collections.empty()) {
        std::abort();
    }
    for (const auto& collection : summary->collections) {
        for (const int length : {collection.inputReportLength, collection.outputReportLength,
                                 collection.featureReportLength}) {
            if (length < 0 || length > veldran::kMaxHidReportLength) {
                std::abort();
            }
        }
        if (!summary->usesReportIds && !collection.reportIds.empty()) {
            std::abort();
        }
        for (std::size_t i = 1; i < collection.reportIds.size(); ++i) {
            if (collection.reportIds[i - 1] >= collection.reportIds[i]) {
                std::abort();
            }
        }
    }
    return 0;
}
