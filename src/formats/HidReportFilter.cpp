#include "formats/HidReportFilter.h"

#include <algorithm>

namespace veldran {

std::size_t filterCollectionReport(std::span<const std::uint8_t> reportIds,
                                   std::span<const std::uint8_t> raw, std::span<std::uint8_t> out) {
    if (raw.empty() || out.empty()) {
        return 0;
    }
    if (reportIds.empty()) {
        out[0] = 0;
        const std::size_t n = std::min(raw.size(), out.size() - 1);
        std::copy_n(raw.begin(), n, out.begin() + 1);
        return n + 1;
    }
    if (std::find(reportIds.begin(), reportIds.end(), raw[0]) == reportIds.end()) {
        return 0;
    }
    const std::size_t n = std::min(raw.size(), out.size());
    std::copy_n(raw.begin(), n, out.begin());
    return n;
}

} // namespace veldran
