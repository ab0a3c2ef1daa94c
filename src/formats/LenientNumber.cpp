#include "formats/LenientNumber.h"

#include <algorithm>
#include <limits>

namespace veldran {

namespace {

// The sign and digits of text as parseLenient reads them: the magnitude both held at 2^31 (it
// goes no further) and taken modulo 2^32.
struct LenientDigits {
    bool negative = false;
    std::int64_t heldMagnitude = 0;
    std::uint32_t low32 = 0;
};

LenientDigits scanLenient(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) {
        ++i;
    }
    LenientDigits digits;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        digits.negative = text[i] == '-';
        ++i;
    }
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const int digit = text[i] - '0';
        if (digits.heldMagnitude < kLimit) {
            digits.heldMagnitude = digits.heldMagnitude * 10 + digit;
        }
        digits.low32 = digits.low32 * 10U + static_cast<std::uint32_t>(digit);
    }
    return digits;
}

} // namespace

std::int32_t parseLenient(std::string_view text) {
    const LenientDigits digits = scanLenient(text);
    const std::int64_t value = digits.negative ? -digits.heldMagnitude : digits.heldMagnitude;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

std::int32_t parseProfileNumber(std::string_view text) {
    const LenientDigits digits = scanLenient(text);
    return static_cast<std::int32_t>(digits.negative ? 0U - digits.low32 : digits.low32);
}

std::string formatDecimal(std::int64_t value) {
    return std::to_string(value);
}

} // namespace veldran
