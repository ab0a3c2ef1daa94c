// Feeds arbitrary bytes to the HID report descriptor reader: it must never read out of bounds,
// overflow or hang, and any summary it gives must have lengths in range.
#include "platform/HidReportDescriptor.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto summary = veldran::parseHidReportDescriptor({data, size});
    if (summary) {
        for (const int length : {summary->inputReportLength, summary->outputReportLength,
                                 summary->featureReportLength}) {
            if (length < 0 || length > veldran::kMaxHidReportLength) {
                std::abort();
            }
        }
    }
    return 0;
}
