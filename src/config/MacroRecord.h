// One macro as stored in memory: 205 bytes of name, event count, 41 events of code and action and
// 41 pauses. Key and button codes are Windows virtual-key codes, 240, 241 and 242 standing for the
// left, right and middle mouse buttons.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace veldran {

inline constexpr int kMaxMacros = 12;          // records 0 to 11 hold macros
inline constexpr int kMacroRecordCount = 13;   // record 12 is the blank template
inline constexpr int kMacroEventCapacity = 41; // events a record has room for
inline constexpr int kMacroNameUnits = 20; // UTF-16 units of the name field, terminator included

enum class MacroAction : std::uint8_t { Press = 1, Release = 2 };

struct MacroEvent {
    std::uint8_t code = 0;   // virtual key, or 240/241/242 for the mouse buttons
    std::uint8_t action = 0; // 1 press, 2 release; anything else produces no input
    std::uint16_t pause = 0; // milliseconds after this event

    bool operator==(const MacroEvent&) const = default;
};

struct MacroRecord {
    std::array<std::uint8_t, 2 * kMacroNameUnits> name{}; // UTF-16LE, zero-terminated
    std::uint8_t eventCount = 0;
    std::array<std::uint8_t, 2 * kMacroEventCapacity> codesAndActions{}; // code, action per event
    std::array<std::uint8_t, 2 * kMacroEventCapacity> pauses{};          // little-endian u16 each

    // The name up to its terminator (or the end of the field), as UTF-8.
    std::string nameUtf8() const;
    // Stores a name, cut to 19 UTF-16 units so that the terminator always fits.
    void setName(const std::string& utf8);

    MacroEvent event(int k) const;
    void setEvent(int k, const MacroEvent& event);
    // The number of events playback and the editor may use: the event count, at most 41.
    int usableEventCount() const;
};

static_assert(sizeof(MacroRecord) == 205, "a macro record is 205 bytes");
static_assert(offsetof(MacroRecord, eventCount) == 40);
static_assert(offsetof(MacroRecord, codesAndActions) == 41);
static_assert(offsetof(MacroRecord, pauses) == 123);

} // namespace veldran
