#include "device/InputReport.h"

#include "config/FunctionCode.h"

namespace veldran {

int slotOfPressEvent(std::uint8_t eventByte) {
    for (int slot = 1; slot <= kDeviceSlotCount; ++slot) {
        if (eventByte == kSlotIdentifiers[static_cast<std::size_t>(slot - 1)] + 240) {
            return slot;
        }
    }
    return 0;
}

InputReportMeaning interpretInputReport(std::span<const std::uint8_t> report, bool armed) {
    // Byte 1 carries the event; a report too short to hold it means nothing.
    if (report.size() < 2) {
        return {};
    }
    if (armed) {
        const int slot = slotOfPressEvent(report[1]);
        if (slot != 0) {
            return {InputReportMeaning::Kind::Press, slot};
        }
        return {};
    }
    if (report[0] == 6 && report[1] == 0) {
        return {InputReportMeaning::Kind::Rearm, 0};
    }
    return {};
}

} // namespace veldran
