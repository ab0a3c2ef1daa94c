// The text of one INI file held as lines, with the lookups and edits that ProfileStrings performs
// on it. Pure text handling, no file access: every line that an edit does not concern keeps its
// bytes, its line ending included.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace veldran {

class ProfileStringsDocument {
public:
    explicit ProfileStringsDocument(std::string_view text);

    // The value of key in the first section named section (names compared without regard to
    // ASCII case): cut at a NUL byte, blanks around it dropped, and one pair of quotation marks
    // around the whole of it removed. Empty when the section or the key is missing. Keys that
    // stand before the first section header belong to no section and are never found.
    std::optional<std::string> find(std::string_view section, std::string_view key) const;

    // The value of key in section as a bounded read gives it: defaultValue without its trailing
    // blanks when the section or the key is missing; either way cut to bufferSize - 1 characters
    // (code points, never a split UTF-8 sequence). bufferSize 0 gives the empty text.
    std::string get(std::string_view section, std::string_view key, std::string_view defaultValue,
                    std::size_t bufferSize) const;

    // Every entry of the first section named section, in file order, as (key, value) with the
    // value read as find reads it. Keys may repeat; the caller decides which one counts.
    std::vector<std::pair<std::string, std::string>> entries(std::string_view section) const;

    // The lines of the first section named section that are neither entries, comments nor
    // blank (a line without '='), in file order, without blanks around them.
    std::vector<std::string> unreadLines(std::string_view section) const;

    // Sets key in the first section named section: replaces the key's first line, or adds a line
    // after the section's last entry, or adds the section with the key at the end of the text.
    // Returns false, changing nothing, when a name or the value cannot be written as one line
    // (see isWritable).
    bool set(std::string_view section, std::string_view key, std::string_view value);

    // Removes every entry of key in the first section named section; the other lines stay as
    // they are. Returns how many lines went.
    std::size_t remove(std::string_view section, std::string_view key);

    // Whether section, key and value can be written without changing the meaning of other lines:
    // no line breaks or NUL bytes anywhere, a non-empty key without '=' or surrounding blanks that
    // does not look like a header or a comment, and a section name without ']'.
    static bool isWritable(std::string_view section, std::string_view key, std::string_view value);

    std::string text() const;

private:
    struct Line {
        std::string content; // without its line ending
        std::string ending;  // "\r\n", "\n", "\r", or for the last line "" (none)
    };
    struct Span {
        std::size_t header; // index of the section's header line
        std::size_t end;    // index of the line after the section's last line
    };

    std::optional<Span> findSection(std::string_view section) const;
    std::optional<std::size_t> findKey(const Span& span, std::string_view key) const;
    void ensureEnding(std::size_t index);

    std::string bom_;
    std::vector<Line> lines_;
    std::string newline_ = "\n";
};

// Whether a and b are the same text but for the case of ASCII letters (as section and key names
// are compared).
bool equalsIgnoringCase(std::string_view a, std::string_view b);

// The first maxCodePoints characters of text, never cutting a UTF-8 sequence in two. A byte that
// does not begin a valid sequence counts as one character.
std::string cutToCodePoints(std::string_view text, std::size_t maxCodePoints);

} // namespace veldran
