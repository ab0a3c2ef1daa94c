// Text from a file or a peer made safe to print on a terminal: control characters and bytes that
// are not UTF-8 are shown as \xNN escapes, so that a line on standard error can never carry
// terminal escape codes or break in two.
#pragma once

#include <string>
#include <string_view>

namespace veldran {

std::string printableText(std::string_view text);

} // namespace veldran
