// The texts of the macro editor's event list: the short name of every key and button code, the
// line of an event ("[Down]" or "[Up  ]" and the name), the line of a pause ("  %dms"), and the
// numbering that puts event k on line 2k and the pause after event k - 1 on line 2k - 1.
#pragma once

#include "config/MacroRecord.h"

#include <QString>
#include <QStringList>
#include <cstdint>

namespace veldran {

// Name of a key or button code; every code 0x00 to 0xFF has one ("Not Available" for the codes
// without a key of their own).
QString KeyName(std::uint8_t code);

// "[Down]" or "[Up  ]" for a press or release, directly followed by the key name; the bare name
// for any other action.
QString EventLineText(const MacroEvent& event);

// Two blanks, the pause in milliseconds (unsigned), then "ms".
QString DelayLineText(std::uint16_t pause);

// Line of event k, and line of the pause after event k (the one between events k and k + 1).
constexpr int eventLineOf(int k) {
    return 2 * k;
}
constexpr int pauseLineAfter(int k) {
    return 2 * k + 1;
}
// Event a line belongs to: an event line's own event, a pause line's event above it. Truncates
// toward zero, so line -1 (no line) gives event 0.
constexpr int eventOfLine(int line) {
    return line / 2;
}
constexpr bool isPauseLine(int line) {
    return line % 2 == 1;
}

// The lines of event k: the pause after event k - 1 (for k > 0), then the event itself.
QStringList EventLines(const MacroRecord& record, int k);

} // namespace veldran
