// The edits the macro editor's context menu makes to one record: inserting a mouse-button event,
// deleting an event, and storing a pause typed over its line. Pure functions of the record; the
// editor runs them under the macro table's lock, so playback always copies a whole record.
#pragma once

#include "config/MacroRecord.h"

#include <QString>
#include <cstdint>
#include <optional>

namespace veldran {

// Events a macro holds at most; the record has room for one more, which the editor never fills.
inline constexpr int kMaxMacroEvents = 40;

// Mouse-button codes of the macro format.
inline constexpr std::uint8_t kLeftButtonCode = 0xF0;
inline constexpr std::uint8_t kRightButtonCode = 0xF1;
inline constexpr std::uint8_t kMiddleButtonCode = 0xF2;

// Puts (code, action) at position c with a pause of 0 after it: the event that was at c and the
// ones after it move one place on, keeping their pauses, so the new event takes over the pause
// before the old one. A macro of 40 events keeps 40 and loses its last. A position beyond the
// events appends.
void insertMacroEvent(MacroRecord& record, int c, std::uint8_t code, std::uint8_t action);

// Removes event c: the later events move one place back with their pauses, so the pause before
// the deleted event now precedes the one that followed it. Nothing beyond the event count.
void deleteMacroEvent(MacroRecord& record, int c);

// The number a pause line's text gives: the text before the first "ms" read as a signed decimal
// (leading blanks, an optional sign, digits up to the first other character; 0 without digits).
std::int32_t pauseValueOf(const QString& lineText);

// The pause a text typed over a pause line gives: a whole number of milliseconds from 0 to 65535,
// with blanks around it and "ms" after it allowed; nothing for any other text.
std::optional<std::uint16_t> typedPause(const QString& text);

// Stores value as the pause after event k: low byte value % 256, high byte value / 256, each cut
// to 8 bits, so 0 to 65535 are kept as they are (65536 gives 0, -5 gives 251).
void storeMacroPause(MacroRecord& record, int k, std::int32_t value);

} // namespace veldran
