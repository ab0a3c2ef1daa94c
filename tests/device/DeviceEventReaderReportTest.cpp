// What an input report means to the reader: presses by slot identifier while armed, the
// re-arming report while disarmed, nothing otherwise.
#include "device/InputReport.h"

#include <gtest/gtest.h>
#include <vector>

namespace veldran {
namespace {

using Kind = InputReportMeaning::Kind;

InputReportMeaning meaning(std::vector<std::uint8_t> bytes, bool armed) {
    return interpretInputReport(bytes, armed);
}

TEST(DeviceEventReaderReportTest, PressBytesNameTheSlotsBySlotIdentifier) {
    // Slots 4 and 5 carry identifiers 5 and 4.
    const int expected[] = {1, 2, 3, 5, 4, 6, 9};
    for (int slot = 1; slot <= 7; ++slot) {
        const auto byte = static_cast<std::uint8_t>(240 + expected[slot - 1]);
        EXPECT_EQ(slotOfPressEvent(byte), slot);
        const auto m = meaning({0x00, byte}, true);
        EXPECT_EQ(m.kind, Kind::Press);
        EXPECT_EQ(m.slot, slot);
    }
    for (int byte : {0, 240, 247, 248, 250, 255, 1, 6}) {
        EXPECT_EQ(slotOfPressEvent(static_cast<std::uint8_t>(byte)), 0) << byte;
    }
}

TEST(DeviceEventReaderReportTest, ArmedFlagDecidesBetweenPressesAndTheRearmingReport) {
    EXPECT_EQ(meaning({0x06, 0x00}, false).kind, Kind::Rearm);
    EXPECT_EQ(meaning({0x06, 0x00, 0xFF, 0xFF}, false).kind, Kind::Rearm);
    EXPECT_EQ(meaning({0x06, 0x00}, true).kind, Kind::Nothing);
    EXPECT_EQ(meaning({0x06, 241}, false).kind, Kind::Nothing); // presses dropped while disarmed
    EXPECT_EQ(meaning({0x05, 0x00}, false).kind, Kind::Nothing);
    EXPECT_EQ(meaning({0x06}, false).kind, Kind::Nothing);
    EXPECT_EQ(meaning({}, true).kind, Kind::Nothing);
}

} // namespace
} // namespace veldran
