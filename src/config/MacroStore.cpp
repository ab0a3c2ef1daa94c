#include "config/MacroStore.h"

#include "formats/LenientNumber.h"
#include "formats/ProfileStringsDocument.h"
#include "platform/ProfileStrings.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

namespace veldran {

namespace {

constexpr const char* kSection = "Macros";
constexpr const char* kRepeatSection = "Repeat";
constexpr const char* kRepeatFileName = "macros.ini";
constexpr std::size_t kRepeatBuffer = 16;
constexpr const char* kCountKey = "macroNum";
constexpr std::size_t kCountBuffer = 3;

constexpr int kStoredNameBytes = 20; // the first 10 UTF-16 units of the name
constexpr int kFieldCount = 185;
constexpr std::size_t kFieldWidth = 3;
constexpr std::size_t kRecordTextLength = kFieldCount * kFieldWidth; // 555

// The byte of a record that field e stores, in the order of Macro.dat.
std::uint8_t* fieldByte(MacroRecord& record, int e) {
    if (e < kStoredNameBytes) {
        return &record.name[static_cast<std::size_t>(e)];
    }
    if (e == kStoredNameBytes) {
        return &record.eventCount;
    }
    const int k = (e - 21) / 4;
    const auto i = static_cast<std::size_t>(2 * k);
    switch ((e - 21) % 4) {
    case 0:
        return &record.codesAndActions[i];
    case 1:
        return &record.codesAndActions[i + 1];
    case 2:
        return &record.pauses[i];
    default:
        return &record.pauses[i + 1];
    }
}

} // namespace

MacroStore::MacroStore(std::filesystem::path macroPath) : path_(std::move(macroPath)) {}

std::int16_t MacroStore::readCount() const {
    return countFromText(ProfileStrings::fileText(path_));
}

std::int16_t MacroStore::countFromText(std::string_view text) {
    return static_cast<std::int16_t>(parseProfileNumber(ProfileStrings::getFromText(
        ProfileStringsDocument(text), kSection, kCountKey, "", kCountBuffer)));
}

bool MacroStore::read(int count, MacroTable& table) const {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path_, error)) {
        return false;
    }
    readFromText(ProfileStrings::fileText(path_), count, table);
    return true;
}

bool MacroStore::readTable(MacroTable& table, std::vector<std::string>& problems) const {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path_, error)) {
        return false;
    }
    const std::string text = ProfileStrings::fileText(path_);
    // macroNum beyond the table (a hand-edited Macro.dat) is held to the twelve records.
    const int count = std::clamp<int>(countFromText(text), 0, kMaxMacros);
    table.setCount(static_cast<std::int16_t>(count));
    readFromText(text, count, table);
    problems = readRepeatModes(table);
    return true;
}

void MacroStore::readFromText(std::string_view text, int count, MacroTable& table) {
    const ProfileStringsDocument document(text);
    const int records = count < 0 ? 0 : (count > kMaxMacros ? kMaxMacros : count);
    for (int b = 0; b < records; ++b) {
        const std::string record = ProfileStrings::getFromText(document, kSection, formatDecimal(b),
                                                               "", kRecordTextLength + 1);
        table.edit([&](auto& all) { decodeRecord(record, all[static_cast<std::size_t>(b)]); });
    }
}

bool MacroStore::write(const MacroTable& table) const {
    const int count = table.count();
    std::vector<std::pair<std::string, std::string>> keys;
    keys.reserve(static_cast<std::size_t>(count) + 1);
    keys.emplace_back(kCountKey, formatDecimal(count));
    for (int i = 0; i < count; ++i) {
        keys.emplace_back(formatDecimal(i), encodeRecord(table.snapshot(i)));
    }
    if (!ProfileStrings::writeAll(path_, kSection, keys)) {
        return false;
    }
    std::vector<std::pair<std::string, std::string>> repeats;
    for (int i = 0; i < count; ++i) {
        repeats.emplace_back(formatDecimal(i), formatMacroRepeat(table.repeat(i)));
    }
    return ProfileStrings::writeAll(repeatPath(), kRepeatSection, repeats);
}

std::filesystem::path MacroStore::repeatPath() const {
    return path_.parent_path() / kRepeatFileName;
}

std::vector<std::string> MacroStore::readRepeatModes(MacroTable& table) const {
    return readRepeatModesFromText(ProfileStrings::fileText(repeatPath()), table);
}

std::vector<std::string> MacroStore::readRepeatModesFromText(std::string_view text,
                                                             MacroTable& table) {
    const ProfileStringsDocument document(text);
    std::vector<std::string> problems;
    for (int i = 0; i < kMaxMacros; ++i) {
        const std::string value = ProfileStrings::getFromText(document, kRepeatSection,
                                                              formatDecimal(i), "", kRepeatBuffer);
        const std::optional<int> repeat = parseMacroRepeat(value);
        if (!value.empty() && !repeat) {
            problems.push_back(std::string(kRepeatFileName) + ": macro " + formatDecimal(i) +
                               " has the repeat mode '" + value +
                               "', which is not 1 to 99 or toggle: it plays once");
        }
        table.setRepeat(i, repeat.value_or(kRepeatOnce));
    }
    return problems;
}

std::string MacroStore::encodeRecord(const MacroRecord& record) {
    MacroRecord copy = record;
    std::string text;
    text.reserve(kRecordTextLength);
    for (int e = 0; e < kFieldCount; ++e) {
        const unsigned v = *fieldByte(copy, e);
        text.push_back(static_cast<char>('0' + v / 100));
        text.push_back(static_cast<char>('0' + v / 10 % 10));
        text.push_back(static_cast<char>('0' + v % 10));
    }
    return text;
}

void MacroStore::decodeRecord(const std::string& text, MacroRecord& record) {
    const std::string_view all(text);
    for (int e = 0; e < kFieldCount; ++e) {
        const std::size_t at = static_cast<std::size_t>(e) * kFieldWidth;
        const std::string_view field =
            at < all.size() ? all.substr(at, kFieldWidth) : std::string_view();
        // Only the low 8 bits of a field are kept; a field without digits is 0.
        *fieldByte(record, e) = static_cast<std::uint8_t>(parseProfileNumber(field));
    }
}

} // namespace veldran
