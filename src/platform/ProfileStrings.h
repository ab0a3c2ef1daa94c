// Reading and writing INI "profile strings": the service through which config.ini, Macro.dat and
// the skin's layout files are read and written key by key.
//
// Section and key names match without regard to case; blanks around a value are dropped; a value
// wrapped whole in quotation marks loses them; a read is bounded by a buffer (the value is cut to
// bufferSize - 1 characters). A write creates the file, the section (at the end of the file) and
// the key (at the end of its section) as needed and leaves every other line as it was; the file
// is replaced atomically. Text is UTF-8; CRLF and LF are both read.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace veldran {

class ProfileStrings {
public:
    // The value of key in section, or defaultValue when the file, the section or the key is
    // missing; either way cut to bufferSize - 1 characters (code points, never a split UTF-8
    // sequence). bufferSize 0 gives the empty text.
    static std::string get(const std::filesystem::path& file, std::string_view section,
                           std::string_view key, std::string_view defaultValue,
                           std::size_t bufferSize);

    // Writes one key. Returns false, leaving the old file intact, when the file cannot be written.
    static bool write(const std::filesystem::path& file, std::string_view section,
                      std::string_view key, std::string_view value);

    // Writes several keys of one section in order, with the same result as writing them one by
    // one, in a single replacement of the file.
    static bool writeAll(const std::filesystem::path& file, std::string_view section,
                         const std::vector<std::pair<std::string, std::string>>& keyValues);
};

} // namespace veldran
