#include "config/MacroRecord.h"

#include <string_view>
#include <vector>

namespace veldran {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// The code points of UTF-8 text; a malformed sequence gives one replacement character per byte.
std::vector<char32_t> decodeUtf8(std::string_view text) {
    std::vector<char32_t> out;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        char32_t c = 0;
        char32_t minimum = 0;
        if (lead < 0x80) {
            length = 1;
            c = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2;
            c = lead & 0x1F;
            minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            c = lead & 0x0F;
            minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            c = lead & 0x07;
            minimum = 0x10000;
        }
        bool valid = length != 0 && i + length <= text.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        valid = valid && c >= minimum && c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
        if (valid) {
            out.push_back(c);
            i += length;
        } else {
            out.push_back(kReplacement);
            ++i;
        }
    }
    return out;
}

} // namespace

std::string MacroRecord::nameUtf8() const {
    std::string out;
    for (int i = 0; i < kMacroNameUnits; ++i) {
        const auto unit = static_cast<char16_t>(name[2 * i] | (name[2 * i + 1] << 8));
        if (unit == 0) {
            break;
        }
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < kMacroNameUnits) {
            const auto low = static_cast<char16_t>(name[2 * i + 2] | (name[2 * i + 3] << 8));
            if (low >= 0xDC00 && low <= 0xDFFF) {
                appendUtf8(out, 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        appendUtf8(out, (unit >= 0xD800 && unit <= 0xDFFF) ? kReplacement : char32_t{unit});
    }
    return out;
}

void MacroRecord::setName(const std::string& utf8) {
    std::vector<char16_t> units;
    for (const char32_t c : decodeUtf8(utf8)) {
        if (c == 0) {
            break;
        }
        const std::size_t needed = c >= 0x10000 ? 2 : 1;
        if (units.size() + needed > static_cast<std::size_t>(kMacroNameUnits - 1)) {
            break;
        }
        if (needed == 2) {
            units.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            units.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            units.push_back(static_cast<char16_t>(c));
        }
    }
    name.fill(0);
    for (std::size_t i = 0; i < units.size(); ++i) {
        name[2 * i] = static_cast<std::uint8_t>(units[i] & 0xFF);
        name[2 * i + 1] = static_cast<std::uint8_t>(units[i] >> 8);
    }
}

MacroEvent MacroRecord::event(int k) const {
    if (k < 0 || k >= kMacroEventCapacity) {
        return {};
    }
    const auto i = static_cast<std::size_t>(2 * k);
    return {codesAndActions[i], codesAndActions[i + 1],
            static_cast<std::uint16_t>(pauses[i] | (pauses[i + 1] << 8))};
}

void MacroRecord::setEvent(int k, const MacroEvent& e) {
    if (k < 0 || k >= kMacroEventCapacity) {
        return;
    }
    const auto i = static_cast<std::size_t>(2 * k);
    codesAndActions[i] = e.code;
    codesAndActions[i + 1] = e.action;
    pauses[i] = static_cast<std::uint8_t>(e.pause & 0xFF);
    pauses[i + 1] = static_cast<std::uint8_t>(e.pause >> 8);
}

int MacroRecord::usableEventCount() const {
    return eventCount < kMacroEventCapacity ? eventCount : kMacroEventCapacity;
}

} // namespace veldran
