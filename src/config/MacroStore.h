// Macro.dat: section Macros, key macroNum and one key per macro holding its record as 185 fields
// of three decimal digits.
#pragma once

#include "config/MacroTable.h"

#include <filesystem>
#include <string>

namespace veldran {

class WindowPort;

class MacroStore {
public:
    explicit MacroStore(std::filesystem::path macroPath);

    // Reads macroNum (buffer of 3 characters).
    std::int16_t readCount() const;
    // Reads records 0 to count - 1 into the table (at most 12). Returns false when Macro.dat does
    // not exist; the caller then shows "找不到配置文件" and ends the program.
    bool read(int count, MacroTable& table) const;
    // Writes macroNum and records 0 to count - 1. False when the file could not be written.
    bool write(const MacroTable& table) const;

    const std::filesystem::path& path() const { return path_; }

    // The 555-character text of one record, and back.
    static std::string encodeRecord(const MacroRecord& record);
    static void decodeRecord(const std::string& text, MacroRecord& record);

private:
    std::filesystem::path path_;
};

} // namespace veldran
