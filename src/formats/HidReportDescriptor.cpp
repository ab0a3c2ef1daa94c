#include "formats/HidReportDescriptor.h"

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <vector>

namespace veldran {
namespace {

enum class ItemType : std::uint8_t { Main = 0, Global = 1, Local = 2, Reserved = 3 };

// Main item tags.
constexpr std::uint8_t kInput = 0x8;
constexpr std::uint8_t kOutput = 0x9;
constexpr std::uint8_t kCollection = 0xA;
constexpr std::uint8_t kFeature = 0xB;
constexpr std::uint8_t kEndCollection = 0xC;
// Global item tags.
constexpr std::uint8_t kUsagePage = 0x0;
constexpr std::uint8_t kReportSize = 0x7;
constexpr std::uint8_t kReportId = 0x8;
constexpr std::uint8_t kReportCount = 0x9;
constexpr std::uint8_t kPush = 0xA;
constexpr std::uint8_t kPop = 0xB;
// Local item tags.
constexpr std::uint8_t kUsage = 0x0;
constexpr std::uint8_t kUsageMinimum = 0x1;

constexpr std::uint8_t kLongItemPrefix = 0xFE;
constexpr std::size_t kMaxPushDepth = 32;
constexpr std::uint64_t kMaxBits = static_cast<std::uint64_t>(kMaxHidReportLength) * 8;

struct GlobalState {
    std::uint32_t usagePage = 0;
    std::uint32_t reportSize = 0;
    std::uint32_t reportCount = 0;
    std::uint32_t reportId = 0;
};

// Report bits declared so far, per report id, for one kind of report.
using ReportBits = std::map<std::uint32_t, std::uint64_t>;

std::uint64_t saturatingAdd(std::uint64_t a, std::uint64_t b) {
    return std::min(kMaxBits, a + std::min(b, kMaxBits));
}

std::uint64_t saturatingProduct(std::uint32_t size, std::uint32_t count) {
    if (size != 0 && count > kMaxBits / size) {
        return kMaxBits;
    }
    return std::min(kMaxBits, static_cast<std::uint64_t>(size) * count);
}

int longestReport(const ReportBits& reports) {
    std::uint64_t longest = 0;
    for (const auto& [id, bits] : reports) {
        static_cast<void>(id);
        // Whole bytes of data plus the report id byte.
        longest = std::max(longest, (bits + 7) / 8 + 1);
    }
    return static_cast<int>(std::min<std::uint64_t>(longest, kMaxHidReportLength));
}

std::uint32_t unsignedData(std::span<const std::uint8_t> data) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < data.size(); ++i) {
        value |= static_cast<std::uint32_t>(data[i]) << (8 * i);
    }
    return value;
}

} // namespace

std::optional<HidDescriptorSummary> parseHidReportDescriptor(std::span<const std::uint8_t> bytes) {
    GlobalState global;
    std::vector<GlobalState> stack;
    bool haveUsage = false; // the pending local items hold a usage
    std::uint32_t firstUsage = 0;
    bool firstUsageHasPage = false;
    int depth = 0;
    HidDescriptorSummary summary;
    // Report bits of each top-level collection: input, output, feature.
    std::vector<std::array<ReportBits, 3>> reports;

    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::uint8_t prefix = bytes[pos];
        if (prefix == kLongItemPrefix) {
            // Long items carry no information that is needed here; skip them whole.
            if (pos + 2 >= bytes.size()) {
                return std::nullopt;
            }
            const std::size_t dataSize = bytes[pos + 1];
            if (dataSize > bytes.size() - pos - 3) {
                return std::nullopt;
            }
            pos += 3 + dataSize;
            continue;
        }
        const std::size_t sizeCode = prefix & 0x3u;
        const std::size_t dataSize = sizeCode == 3 ? 4 : sizeCode;
        if (dataSize > bytes.size() - pos - 1) {
            return std::nullopt;
        }
        const auto type = static_cast<ItemType>((prefix >> 2) & 0x3u);
        const std::uint8_t tag = static_cast<std::uint8_t>(prefix >> 4);
        const std::span<const std::uint8_t> data = bytes.subspan(pos + 1, dataSize);
        const std::uint32_t value = unsignedData(data);
        pos += 1 + dataSize;

        switch (type) {
        case ItemType::Main: {
            if (tag == kCollection) {
                if (depth == 0) {
                    HidCollectionSummary collection;
                    collection.usagePage = static_cast<std::uint16_t>(
                        firstUsageHasPage ? firstUsage >> 16 : global.usagePage);
                    collection.usage = static_cast<std::uint16_t>(firstUsage & 0xFFFFu);
                    summary.collections.push_back(std::move(collection));
                    reports.emplace_back();
                }
                ++depth;
            } else if (tag == kEndCollection) {
                if (depth == 0) {
                    return std::nullopt;
                }
                --depth;
            } else if ((tag == kInput || tag == kOutput || tag == kFeature) && depth > 0) {
                // Reports belong to the top-level collection that encloses them; main items
                // outside every collection belong to none and are not counted.
                const std::size_t kind = tag == kInput ? 0 : tag == kOutput ? 1 : 2;
                std::uint64_t& bits = reports.back()[kind][global.reportId];
                bits =
                    saturatingAdd(bits, saturatingProduct(global.reportSize, global.reportCount));
            }
            // Local items apply to the next main item only.
            haveUsage = false;
            firstUsage = 0;
            firstUsageHasPage = false;
            break;
        }
        case ItemType::Global:
            switch (tag) {
            case kUsagePage:
                global.usagePage = value;
                break;
            case kReportSize:
                global.reportSize = value;
                break;
            case kReportId:
                if (value == 0 || value > 0xFF) {
                    return std::nullopt; // report ids are single bytes, 0 is reserved
                }
                global.reportId = value;
                summary.usesReportIds = true;
                break;
            case kReportCount:
                global.reportCount = value;
                break;
            case kPush:
                if (stack.size() == kMaxPushDepth) {
                    return std::nullopt;
                }
                stack.push_back(global);
                break;
            case kPop:
                if (stack.empty()) {
                    return std::nullopt;
                }
                global = stack.back();
                stack.pop_back();
                break;
            default:
                break; // logical and physical ranges, units: not needed here
            }
            break;
        case ItemType::Local:
            if ((tag == kUsage || tag == kUsageMinimum) && !haveUsage) {
                haveUsage = true;
                firstUsage = value;
                firstUsageHasPage = dataSize == 4;
            }
            break;
        case ItemType::Reserved:
            break;
        }
    }
    if (summary.collections.empty() || depth != 0) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < summary.collections.size(); ++i) {
        HidCollectionSummary& collection = summary.collections[i];
        collection.inputReportLength = longestReport(reports[i][0]);
        collection.outputReportLength = longestReport(reports[i][1]);
        collection.featureReportLength = longestReport(reports[i][2]);
        if (summary.usesReportIds) {
            std::set<std::uint8_t> ids;
            for (const ReportBits& kind : reports[i]) {
                for (const auto& [id, bits] : kind) {
                    static_cast<void>(bits);
                    ids.insert(static_cast<std::uint8_t>(id));
                }
            }
            collection.reportIds.assign(ids.begin(), ids.end());
        }
    }
    return summary;
}

} // namespace veldran
