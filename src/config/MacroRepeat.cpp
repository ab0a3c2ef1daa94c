#include "config/MacroRepeat.h"

#include <algorithm>
#include <cctype>

namespace veldran {
namespace {

constexpr std::string_view kLoopText = "toggle";

} // namespace

std::optional<int> parseMacroRepeat(std::string_view text) {
    if (text.size() == kLoopText.size() &&
        std::equal(text.begin(), text.end(), kLoopText.begin(), [](char a, char b) {
            return std::tolower(static_cast<unsigned char>(a)) == b;
        })) {
        return kRepeatLoop;
    }
    const auto digit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
    if (text.empty() || text.size() > 2 || !std::all_of(text.begin(), text.end(), digit)) {
        return std::nullopt;
    }
    int value = 0;
    for (const char c : text) {
        value = value * 10 + (c - '0');
    }
    if (value < kRepeatOnce) {
        return std::nullopt;
    }
    return value;
}

std::string formatMacroRepeat(int repeat) {
    return repeat == kRepeatLoop ? std::string(kLoopText) : std::to_string(repeat);
}

} // namespace veldran
