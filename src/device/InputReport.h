// The mouse's input reports as the device event reader sees them: a press report names a slot by
// its identifier + 240 in byte 1; the re-arming report is 06 00.
#pragma once

#include <cstdint>
#include <span>

namespace veldran {

// Room the reader gives one input report; longer reports are cut to it.
inline constexpr std::size_t kInputReportBufferSize = 256;

// What one report asks of the reader, given the armed flag: while armed only presses count, while
// disarmed only the re-arming report does.
struct InputReportMeaning {
    enum class Kind { Nothing, Press, Rearm };
    Kind kind = Kind::Nothing;
    int slot = 0; // 1 to 7 for a press
};

InputReportMeaning interpretInputReport(std::span<const std::uint8_t> report, bool armed);

// The slot (1 to 7) whose identifier + 240 is eventByte, or 0 when none is.
int slotOfPressEvent(std::uint8_t eventByte);

} // namespace veldran
