// Reading the skin's layout files: one value split into its seven fields (ReadSkinEntry), and the
// steps that fill the element tables, the function-name table and the macro editor's rectangles.
#pragma once

#include "formats/ProfileStringsDocument.h"
#include "skin/SkinTables.h"

#include <QString>
#include <array>
#include <filesystem>
#include <string>
#include <unordered_map>

namespace veldran {

class StartupReporter;

// Message texts, shown through QCoreApplication::translate in the context "SkinReader".
inline constexpr const char* kSkinFileMissingMessage =
    QT_TRANSLATE_NOOP("SkinReader", "找不到配置文件");
inline constexpr const char* kSkinValueErrorMessage =
    QT_TRANSLATE_NOOP("SkinReader", "加载ini错误！");
inline constexpr const char* kMainSkinFile = "skin_main_en.ini";
inline constexpr const char* kColorSkinFile = "skin_color_en.ini";
inline constexpr const char* kAdvancedSkinFile = "skin_advance_en.ini";

// Fields 1 to 7 of one skin value (index 0 is field 1).
using SkinFields = std::array<QString, 7>;

// A numeric field: leading blanks skipped, an optional sign, then digits up to the first
// character that is not a digit; no digits gives 0. Values beyond 32 bits are clamped.
std::int32_t skinNumber(const QString& field);

// Splits one value: no comma gives field 1 = the value; otherwise fields 1 to 6 end at the first
// six commas and field 7 is the rest. Blanks inside the value are kept. tooManyCommas tells
// whether the value has more than six commas.
SkinFields splitSkinValue(const QString& value, bool* tooManyCommas = nullptr);

// ReadSkinEntry: reads key (in "%d") of section from file, cut to 259 characters, and splits it.
// A missing file (or a path of 260 characters or more) shows "找不到配置文件" and runs
// ExitSequence, then reads on (giving empty fields); more than six commas shows "加载ini错误！".
SkinFields readSkinEntry(const std::filesystem::path& file, const QString& section, int key,
                         StartupReporter& reporter);

// The loading steps of the main window's initialisation, each reading in ascending key order.
class SkinReader {
public:
    SkinReader(std::filesystem::path skinFolder, SkinTables& tables, StartupReporter& reporter);

    void readMainTable();     // skin_main_en.ini, BUTTONPOS 0 to 69
    void readFunctionNames(); // skin_main_en.ini, FUN_STRING 0 to 49 (50 to 59 emptied)
    void readColorTable();    // skin_color_en.ini, BUTTONPOS 0 to 7
    void readAdvancedTable(); // skin_advance_en.ini, BUTTONPOS 0 to 20
    void readNameEditRect();  // skin_advance_en.ini, EDIT 4
    void readListRects();     // skin_advance_en.ini, MACRODISPLAY 1 then 2

private:
    std::filesystem::path file(const char* name) const { return folder_ / name; }
    // Fills every element of table from the file's BUTTONPOS keys 0 to N - 1, in key order.
    template <std::size_t N>
    void readElementTable(const char* fileName, std::array<Element, N>& table);
    QRect readRect(const char* fileName, const QString& section, int key);
    // ReadSkinEntry, with each file read and parsed once for all its keys.
    SkinFields entry(const std::filesystem::path& file, const QString& section, int key);
    std::filesystem::path folder_;
    SkinTables& tables_;
    StartupReporter& reporter_;
    std::unordered_map<std::string, ProfileStringsDocument> documents_;
};

// A coordinate field: skinNumber() held to +-kMaxSkinCoordinate.
std::int32_t skinCoordinate(const QString& field);

// An element from the fields of its value: x, y, width, height from fields 2 to 5, label field 6.
Element elementFromFields(const SkinFields& fields);

} // namespace veldran
