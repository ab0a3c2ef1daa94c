// Feeds arbitrary bytes as an input report from the mouse, armed and disarmed: what the reader
// makes of it must be a press of slot 1 to 7, the re-arming report (only when disarmed) or
// nothing, and never reads beyond the report.
#include "device/InputReport.h"

#include <cstdlib>

using namespace veldran;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (const bool armed : {true, false}) {
        const InputReportMeaning meaning = interpretInputReport({data, size}, armed);
        switch (meaning.kind) {
        case InputReportMeaning::Kind::Press:
            // Only an armed reader acts on presses, and only on a known button's event byte.
            if (!armed || meaning.slot < 1 || meaning.slot > 7 ||
                meaning.slot != slotOfPressEvent(data[1])) {
                std::abort();
            }
            break;
        case InputReportMeaning::Kind::Rearm:
            if (armed || meaning.slot != 0) {
                std::abort();
            }
            break;
        case InputReportMeaning::Kind::Nothing:
            if (meaning.slot != 0) {
                std::abort();
            }
            break;
        }
    }
    if (size > 1) {
        const int slot = slotOfPressEvent(data[1]);
        if (slot < 0 || slot > 7) {
            std::abort();
        }
    }
    return 0;
}
