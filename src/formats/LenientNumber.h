// Numbers in the settings files: written in the "%d" form and read back leniently, so that a
// hand-edited value never stops the program.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace veldran {

// Optional leading white space, an optional sign and decimal digits, up to the first other
// character: "12x" gives 12, "abc" and "" give 0, "-1" gives -1. A number beyond the 32-bit range
// gives the nearest end of the range.
std::int32_t parseLenient(std::string_view text);

// A number of a settings file, read as the Windows profile functions read one: as parseLenient,
// but a number beyond 32 bits keeps its low 32 bits ("4294967297" gives 1, "2147483648" gives
// -2147483648).
std::int32_t parseProfileNumber(std::string_view text);

// The "%d" text of value.
std::string formatDecimal(std::int64_t value);

} // namespace veldran
