// How often a macro plays for one press of its button, and its text in macros.ini: 1 (once, the
// default), 2 to 99 (that many passes), or "toggle" (pass after pass until the next press).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace veldran {

inline constexpr int kRepeatLoop = 0; // until the button is pressed again
inline constexpr int kRepeatOnce = 1;
inline constexpr int kRepeatMaxCount = 99;

// 0 (loop) or a pass count of 1 to 99.
inline bool isMacroRepeat(int repeat) {
    return repeat >= kRepeatLoop && repeat <= kRepeatMaxCount;
}

// "1" to "99" (digits only) or "toggle" (any case); nothing for any other text.
std::optional<int> parseMacroRepeat(std::string_view text);
// "toggle" for a loop, the count in digits otherwise.
std::string formatMacroRepeat(int repeat);

} // namespace veldran
