#include "formats/HidReportFilter.h"

#include <array>
#include <gtest/gtest.h>
#include <vector>

namespace veldran {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes filtered(const Bytes& ids, const Bytes& raw, std::size_t room = 8) {
    std::vector<std::uint8_t> out(room, 0xEE);
    out.resize(filterCollectionReport(ids, raw, out));
    return out;
}

TEST(HidReportFilter, PassesOnlyTheCollectionsReportsOfANumberedNode) {
    const Bytes vendor = {6};
    EXPECT_EQ(filtered(vendor, {6, 0xF3, 0, 0}), (Bytes{6, 0xF3, 0, 0}));
    // The keyboard and consumer reports of the same node never reach the vendor reader.
    EXPECT_EQ(filtered(vendor, {1, 0, 0, 4, 0, 0, 0, 0, 0}), Bytes{});
    EXPECT_EQ(filtered(vendor, {3, 0xE9, 0}), Bytes{});
    EXPECT_EQ(filtered({6, 9}, {9, 1}), (Bytes{9, 1}));
    // Cut to the room given; nothing from an empty read.
    EXPECT_EQ(filtered(vendor, {6, 1, 2, 3, 4, 5}, 3), (Bytes{6, 1, 2}));
    EXPECT_EQ(filtered(vendor, {}), Bytes{});
}

TEST(HidReportFilter, PutsAZeroInFrontOfUnnumberedReports) {
    // Byte 1 is the event byte, as for a numbered device.
    EXPECT_EQ(filtered({}, {0xF3, 0, 0}), (Bytes{0, 0xF3, 0, 0}));
    EXPECT_EQ(filtered({}, {0xF1, 1, 2, 3}, 3), (Bytes{0, 0xF1, 1}));
    EXPECT_EQ(filtered({}, {0xF1}, 1), (Bytes{0}));
    EXPECT_EQ(filtered({}, {}), Bytes{});
}

} // namespace
} // namespace veldran
