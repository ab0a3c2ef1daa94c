#include "formats/ProfileStringsDocument.h"

#include <algorithm>

namespace veldran {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

enum class LineKind { Blank, Comment, Header, Entry, Other };

LineKind kindOf(std::string_view content) {
    const std::string_view t = trim(content);
    if (t.empty()) {
        return LineKind::Blank;
    }
    if (t.front() == ';') {
        return LineKind::Comment;
    }
    if (t.front() == '[') {
        return LineKind::Header;
    }
    return t.find('=') == std::string_view::npos ? LineKind::Other : LineKind::Entry;
}

// The name of a header line "[name]"; a header without ']' runs to the end of the line.
std::string_view headerName(std::string_view content) {
    std::string_view t = trim(content);
    t.remove_prefix(1);
    const std::size_t close = t.find(']');
    return trim(close == std::string_view::npos ? t : t.substr(0, close));
}

std::string_view entryKey(std::string_view content) {
    return trim(content.substr(0, content.find('=')));
}

std::string entryValue(std::string_view content) {
    std::string_view value = content.substr(content.find('=') + 1);
    value = value.substr(0, value.find('\0'));
    value = trim(value);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
}

bool hasLineBreakOrNul(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// Length of the UTF-8 sequence starting at text[i], or 1 when it is not a valid sequence.
std::size_t sequenceLength(std::string_view text, std::size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
    }
    if (i + length > text.size()) {
        return 1;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
            return 1;
        }
    }
    return length;
}

} // namespace

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lowerAscii(x) == lowerAscii(y);
           });
}

std::string cutToCodePoints(std::string_view text, std::size_t maxCodePoints) {
    std::size_t i = 0;
    for (std::size_t count = 0; count < maxCodePoints && i < text.size(); ++count) {
        i += sequenceLength(text, i);
    }
    return std::string(text.substr(0, i));
}

ProfileStringsDocument::ProfileStringsDocument(std::string_view text) {
    if (text.substr(0, kBom.size()) == kBom) {
        bom_ = kBom;
        text.remove_prefix(kBom.size());
    }
    // A line ends at "\r\n", "\n" or a lone "\r" (old Mac files); the last one may have none.
    bool endingSeen = false;
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        Line line;
        line.content = text.substr(0, end);
        if (end == std::string_view::npos) {
            text = {};
        } else {
            const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
            line.ending = crlf ? "\r\n" : std::string(1, text[end]);
            text.remove_prefix(end + line.ending.size());
            if (!endingSeen) {
                newline_ = line.ending;
                endingSeen = true;
            }
        }
        lines_.push_back(std::move(line));
    }
}

std::optional<ProfileStringsDocument::Span>
ProfileStringsDocument::findSection(std::string_view section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (kindOf(lines_[i].content) == LineKind::Header &&
            equalsIgnoringCase(headerName(lines_[i].content), section)) {
            std::size_t end = i + 1;
            while (end < lines_.size() && kindOf(lines_[end].content) != LineKind::Header) {
                ++end;
            }
            return Span{i, end};
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> ProfileStringsDocument::findKey(const Span& span,
                                                           std::string_view key) const {
    for (std::size_t i = span.header + 1; i < span.end; ++i) {
        if (kindOf(lines_[i].content) == LineKind::Entry &&
            equalsIgnoringCase(entryKey(lines_[i].content), key)) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::string> ProfileStringsDocument::find(std::string_view section,
                                                        std::string_view key) const {
    const auto span = findSection(section);
    if (!span) {
        return std::nullopt;
    }
    const auto line = findKey(*span, key);
    if (!line) {
        return std::nullopt;
    }
    return entryValue(lines_[*line].content);
}

std::vector<std::pair<std::string, std::string>>
ProfileStringsDocument::entries(std::string_view section) const {
    std::vector<std::pair<std::string, std::string>> found;
    if (const auto span = findSection(section)) {
        for (std::size_t i = span->header + 1; i < span->end; ++i) {
            if (kindOf(lines_[i].content) == LineKind::Entry) {
                found.emplace_back(entryKey(lines_[i].content), entryValue(lines_[i].content));
            }
        }
    }
    return found;
}

std::vector<std::string> ProfileStringsDocument::unreadLines(std::string_view section) const {
    std::vector<std::string> found;
    if (const auto span = findSection(section)) {
        for (std::size_t i = span->header + 1; i < span->end; ++i) {
            if (kindOf(lines_[i].content) == LineKind::Other) {
                found.emplace_back(trim(lines_[i].content));
            }
        }
    }
    return found;
}

bool ProfileStringsDocument::isWritable(std::string_view section, std::string_view key,
                                        std::string_view value) {
    if (hasLineBreakOrNul(section) || hasLineBreakOrNul(key) || hasLineBreakOrNul(value)) {
        return false;
    }
    if (section.find(']') != std::string_view::npos) {
        return false;
    }
    return !key.empty() && trim(key) == key && key.find('=') == std::string_view::npos &&
           key.front() != '[' && key.front() != ';';
}

void ProfileStringsDocument::ensureEnding(std::size_t index) {
    std::string& ending = lines_[index].ending;
    if (ending.empty()) {
        ending = newline_;
    }
}

std::size_t ProfileStringsDocument::remove(std::string_view section, std::string_view key) {
    const auto span = findSection(section);
    if (!span) {
        return 0;
    }
    std::size_t removed = 0;
    for (std::size_t i = span->end; i > span->header + 1; --i) {
        const Line& line = lines_[i - 1];
        if (kindOf(line.content) == LineKind::Entry &&
            equalsIgnoringCase(entryKey(line.content), key)) {
            lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i - 1));
            ++removed;
        }
    }
    return removed;
}

bool ProfileStringsDocument::set(std::string_view section, std::string_view key,
                                 std::string_view value) {
    if (!isWritable(section, key, value)) {
        return false;
    }
    const auto span = findSection(section);
    if (!span) {
        if (!lines_.empty()) {
            ensureEnding(lines_.size() - 1);
        }
        lines_.push_back(Line{"[" + std::string(section) + "]", newline_});
        lines_.push_back(Line{std::string(key) + "=" + std::string(value), newline_});
        return true;
    }
    if (const auto line = findKey(*span, key)) {
        // Keep the file's spelling of the key and the line's own ending.
        Line& target = lines_[*line];
        target.content = std::string(entryKey(target.content)) + "=" + std::string(value);
        return true;
    }
    std::size_t last = span->header;
    for (std::size_t i = span->header + 1; i < span->end; ++i) {
        const LineKind kind = kindOf(lines_[i].content);
        if (kind == LineKind::Entry || kind == LineKind::Other) {
            last = i;
        }
    }
    ensureEnding(last);
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(last + 1),
                  Line{std::string(key) + "=" + std::string(value), newline_});
    return true;
}

std::string ProfileStringsDocument::text() const {
    std::string out = bom_;
    for (const Line& line : lines_) {
        out += line.content;
        out += line.ending;
    }
    return out;
}

std::string ProfileStringsDocument::get(std::string_view section, std::string_view key,
                                        std::string_view defaultValue,
                                        std::size_t bufferSize) const {
    if (bufferSize == 0) {
        return {};
    }
    const std::optional<std::string> value = find(section, key);
    // Trailing blanks of the default value are dropped, as Windows does.
    if (!value) {
        defaultValue = defaultValue.substr(0, defaultValue.find_last_not_of(' ') + 1);
    }
    return cutToCodePoints(value ? *value : defaultValue, bufferSize - 1);
}

} // namespace veldran
