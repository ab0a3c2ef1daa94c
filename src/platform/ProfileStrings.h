// Reading and writing INI "profile strings": the settings-file store through which config.ini,
// Macro.dat and the skin's layout files are read and written key by key. The text itself is
// handled by ProfileStringsDocument; the file side (reading, the atomic replacement, the file
// modes) is the platform's.
//
// Section and key names match without regard to case; blanks around a value are dropped; a value
// wrapped whole in quotation marks loses them; a read is bounded by a buffer (the value is cut to
// bufferSize - 1 characters). A write creates the file, the section (at the end of the file) and
// the key (at the end of its section) as needed and leaves every other line as it was; the file
// is replaced atomically. Text is UTF-8; CRLF, LF and lone CR line endings are all read, and a
// write keeps the line ending that the file already uses (LF for a new file).
//
// Lines whose first non-blank character is ';' are comments. Keys that stand before the first
// section header belong to no section: they are never read and never replaced. Of two sections
// with the same name, reads and writes both use the first. A NUL byte ends a value.
//
// A write replaces the file by writing a temporary file beside it, flushing it to the disk and
// renaming it over the old one; the new file is 0600 whatever the umask and whatever the old file's
// mode was. A symbolic link in the file's place is replaced by the new file, never
// followed to write elsewhere. Writes within the process are serialised. The temporary file is
// named "." + the file's name + ".tmp-" + pid + "-" + number.
#pragma once

#include "formats/ProfileStringsDocument.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace veldran {

class ProfileStrings {
public:
    // The value of key in section, or defaultValue without its trailing blanks when the file, the
    // section or the key is missing; either way cut to bufferSize - 1 characters (code points,
    // never a split UTF-8 sequence). bufferSize 0 gives the empty text.
    static std::string get(const std::filesystem::path& file, std::string_view section,
                           std::string_view key, std::string_view defaultValue,
                           std::size_t bufferSize);
    // The same read from a file's text held in memory, parsed once for any number of reads.
    static std::string getFromText(const ProfileStringsDocument& text, std::string_view section,
                                   std::string_view key, std::string_view defaultValue,
                                   std::size_t bufferSize) {
        return text.get(section, key, defaultValue, bufferSize);
    }
    // The whole text of file, for reading several keys with getFromText; empty when the file is
    // missing or cannot be read, so that every key then reads as its default.
    static std::string fileText(const std::filesystem::path& file);
    // The whole text of file: empty when it does not exist, nothing when it exists but cannot be
    // read as a regular file.
    static std::optional<std::string> readText(const std::filesystem::path& file);

    // Writes one key. Returns false, leaving the old file intact, when the file cannot be written
    // (a folder in its place, a missing or unwritable folder, a full disk) or when a name or the
    // value would not stay on one line (a line break or NUL byte, a key with '=', a section name
    // with ']').
    static bool write(const std::filesystem::path& file, std::string_view section,
                      std::string_view key, std::string_view value);

    // Writes several keys of one section in order, with the same result as writing them one by
    // one, in a single replacement of the file.
    static bool writeAll(const std::filesystem::path& file, std::string_view section,
                         const std::vector<std::pair<std::string, std::string>>& keyValues);

    struct SectionWrite {
        std::string section;
        std::vector<std::pair<std::string, std::string>> keyValues;
    };
    // Writes the keys of several sections, in order, in a single replacement of the file: the
    // file afterwards holds what writing them one by one would give. Nothing is written when any
    // of them could not be; problem, when given, then says why in one line.
    static bool writeSections(const std::filesystem::path& file,
                              const std::vector<SectionWrite>& writes,
                              std::string* problem = nullptr);

    // Replaces the whole file with text, atomically as every write does (a new file is created
    // with mode 0600). False, leaving the old file intact, when it cannot be written.
    static bool replace(const std::filesystem::path& file, const std::string& text);

    // Creates file (0600) with text unless a file of that name exists (which is then left alone,
    // and counts as success). The new file appears whole or not at all.
    static bool createIfMissing(const std::filesystem::path& file, const std::string& text);

    // Removes the temporary files that writes to file left beside it when their process was
    // killed half-way (recognised by name: "." + the file's name + ".tmp-" + pid + "-" + number,
    // of a process that no longer runs). Only this user's own regular files are removed. Returns
    // how many were removed.
    static std::size_t removeStaleTemporaries(const std::filesystem::path& file);
};

} // namespace veldran
