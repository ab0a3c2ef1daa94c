// The settings numbers: every 32-bit value survives the trip through its "%d" text, and text
// that a hand edit left behind reads as the lenient rules say.
#include "formats/LenientNumber.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <limits>

namespace veldran {
namespace {

TEST(LenientNumber, EveryValueComesBackFromItsText) {
    constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    // Both ends, the small numbers the files hold, and a spread across the range.
    for (std::int64_t value = kMin; value <= kMax;
         value += (value > -300 && value < 300) ? 1 : 65537) {
        const auto v = static_cast<std::int32_t>(value);
        ASSERT_EQ(parseLenient(formatDecimal(v)), v) << value;
        ASSERT_EQ(parseProfileNumber(formatDecimal(v)), v) << value;
    }
    EXPECT_EQ(parseLenient(formatDecimal(kMax)), kMax);
    EXPECT_EQ(parseLenient(formatDecimal(kMin)), kMin);
}

TEST(LenientNumber, HandEditedTextReadsAsTheLenientRulesSay) {
    EXPECT_EQ(parseLenient(" \t12x"), 12);
    EXPECT_EQ(parseLenient("abc"), 0);
    EXPECT_EQ(parseLenient(""), 0);
    EXPECT_EQ(parseLenient("+7"), 7);
    EXPECT_EQ(parseLenient("99999999999"), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(parseLenient("-99999999999"), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(parseProfileNumber("4294967297"), 1);
    EXPECT_EQ(parseProfileNumber("2147483648"), std::numeric_limits<std::int32_t>::min());
}

} // namespace
} // namespace veldran
