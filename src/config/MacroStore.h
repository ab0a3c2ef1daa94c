// Macro.dat: section Macros, key macroNum and one key per macro holding its record as 185 fields
// of three decimal digits. Beside it, macros.ini: section Repeat, one key per macro index whose
// value is its repeat mode (1 to 99 passes, or toggle).
#pragma once

#include "config/MacroTable.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace veldran {

class WindowPort;

class MacroStore {
public:
    explicit MacroStore(std::filesystem::path macroPath);

    // Reads macroNum (buffer of 3 characters, so -9 to 99), as written; MacroTable::setCount
    // brings it into 0 to 12.
    std::int16_t readCount() const;
    // Reads records 0 to count - 1 into the table (at most 12; records from count on are left as
    // they are). Returns false, reading nothing, when Macro.dat does not exist as a file; the
    // caller then shows kMissingMacroFileMessage and ends the program.
    bool read(int count, MacroTable& table) const;
    // The whole table as a start reads it: the count (held to the twelve records), the records
    // and the repeat modes. False, reading nothing, when Macro.dat does not exist as a file; the
    // problems of macros.ini come back in problems.
    bool readTable(MacroTable& table, std::vector<std::string>& problems) const;
    // readCount and read from the text of a Macro.dat held in memory.
    static std::int16_t countFromText(std::string_view text);
    static void readFromText(std::string_view text, int count, MacroTable& table);
    // Writes macroNum and records 0 to count - 1 in one replacement of the file; keys of records
    // from count on that an earlier save left stay in the file. Then the repeat modes of macros 0
    // to count - 1 to macros.ini, the same way. False when either file could not be written (the
    // old file is then left intact).
    bool write(const MacroTable& table) const;

    // Reads the repeat modes of macros 0 to 11 from macros.ini into the table. A missing file or
    // key means once; so does a value that is no repeat mode, and the problem is returned (one
    // line each) for the caller to report.
    std::vector<std::string> readRepeatModes(MacroTable& table) const;
    static std::vector<std::string> readRepeatModesFromText(std::string_view text,
                                                            MacroTable& table);

    const std::filesystem::path& path() const { return path_; }
    // macros.ini, in the folder of Macro.dat.
    std::filesystem::path repeatPath() const;

    // The 555-character text of one record (185 fields of three digits: name bytes 0 to 19, the
    // event count, then code, action, pause low and high byte of each of the 41 events), and
    // back. Decoding reads each field as a number and keeps its low 8 bits; missing fields of a
    // short text are 0; name bytes 20 to 39 are not stored and are left as they are.
    static std::string encodeRecord(const MacroRecord& record);
    static void decodeRecord(const std::string& text, MacroRecord& record);

private:
    std::filesystem::path path_;
};

} // namespace veldran
