#include "formats/PrintableText.h"

#include <cstdint>

namespace veldran {
namespace {

// The length of the well-formed UTF-8 sequence of two or more bytes at the start of text, or 0.
std::size_t utf8SequenceLength(std::string_view text) {
    const auto lead = static_cast<std::uint8_t>(text[0]);
    std::size_t length = 0;
    std::uint32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07u;
    } else {
        return 0;
    }
    if (text.size() < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<std::uint8_t>(text[i]);
        if ((next & 0xC0u) != 0x80u) {
            return 0;
        }
        code = (code << 6) | (next & 0x3Fu);
    }
    // Overlong forms, surrogates and code points beyond U+10FFFF are not text.
    const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
    const bool outside = (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF;
    // The C1 controls (U+0080 to U+009F) act on terminals as escapes do.
    const bool control = code >= 0x80 && code <= 0x9F;
    return overlong || outside || control ? 0 : length;
}

} // namespace

std::string printableText(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const auto byte = static_cast<std::uint8_t>(text[0]);
        std::size_t take = 1;
        if (byte >= 0x20 && byte < 0x7F && byte != '\\') {
            out += text[0];
        } else if (byte >= 0x80 && (take = utf8SequenceLength(text)) > 0) {
            out.append(text.substr(0, take));
        } else {
            take = 1;
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        }
        text.remove_prefix(take);
    }
    return out;
}

} // namespace veldran
