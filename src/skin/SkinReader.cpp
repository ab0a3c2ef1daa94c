// ReadSkinEntry and the filling of the skin tables.
#include "skin/SkinReader.h"

#include "formats/ProfileStringsDocument.h"
#include "platform/ProfileStrings.h"
#include "skin/StartupReporter.h"

#include <QCoreApplication>
#include <algorithm>
#include <fstream>
#include <limits>
#include <sstream>
#include <system_error>

namespace veldran {
namespace {

// The profile-string reader's buffer for one skin value: 259 characters and the terminator.
constexpr std::size_t kSkinValueBuffer = 260;
// A path of this many characters or more cannot be looked up and counts as missing.
constexpr int kMaxPathLength = 260;

bool skinFileExists(const std::filesystem::path& file) {
    if (QString::fromStdString(file.string()).size() >= kMaxPathLength) {
        return false;
    }
    std::error_code ec;
    return std::filesystem::exists(file, ec);
}

} // namespace

std::int32_t skinNumber(const QString& field) {
    qsizetype i = 0;
    while (i < field.size() && (field[i] == u' ' || field[i] == u'\t')) {
        ++i;
    }
    bool negative = false;
    if (i < field.size() && (field[i] == u'-' || field[i] == u'+')) {
        negative = field[i] == u'-';
        ++i;
    }
    long long value = 0;
    constexpr long long limit =
        static_cast<long long>(std::numeric_limits<std::int32_t>::max()) + 1;
    for (; i < field.size() && field[i] >= u'0' && field[i] <= u'9'; ++i) {
        value = std::min(limit, value * 10 + (field[i].unicode() - u'0'));
    }
    if (negative) {
        value = -value;
    }
    value = std::clamp<long long>(value, std::numeric_limits<std::int32_t>::min(),
                                  std::numeric_limits<std::int32_t>::max());
    return static_cast<std::int32_t>(value);
}

SkinFields splitSkinValue(const QString& value, bool* tooManyCommas) {
    SkinFields fields;
    const qsizetype commas = value.count(u',');
    if (tooManyCommas != nullptr) {
        *tooManyCommas = commas > 6;
    }
    if (commas == 0) {
        fields[0] = value;
        return fields;
    }
    // p starts just before the first character; each of fields 1 to 6 runs to the next comma.
    qsizetype start = 0;
    for (std::size_t f = 0; f < 6; ++f) {
        const qsizetype comma = value.indexOf(u',', start);
        if (comma < 0) {
            // Fewer than six commas: the last field found runs to the end of the value.
            fields[f] = value.mid(start);
            return fields;
        }
        fields[f] = value.mid(start, comma - start);
        start = comma + 1;
    }
    fields[6] = value.mid(start);
    return fields;
}

namespace {

// ReadSkinEntry around a lookup of the value: the message for a missing file, then the value
// split, with the message for a value of more than six commas.
template <typename Lookup>
SkinFields skinEntry(const std::filesystem::path& file, StartupReporter& reporter,
                     Lookup&& lookup) {
    const bool exists = skinFileExists(file);
    if (!exists) {
        reporter.message(QCoreApplication::translate("SkinReader", kSkinFileMissingMessage));
        reporter.exitSequence();
    }
    const std::string text = exists ? lookup() : std::string();
    bool tooManyCommas = false;
    SkinFields fields = splitSkinValue(QString::fromStdString(text), &tooManyCommas);
    if (tooManyCommas) {
        reporter.message(QCoreApplication::translate("SkinReader", kSkinValueErrorMessage));
    }
    return fields;
}

} // namespace

SkinFields readSkinEntry(const std::filesystem::path& file, const QString& section, int key,
                         StartupReporter& reporter) {
    return skinEntry(file, reporter, [&] {
        return ProfileStrings::get(file, section.toStdString(), std::to_string(key), "",
                                   kSkinValueBuffer);
    });
}

std::int32_t skinCoordinate(const QString& field) {
    return std::clamp(skinNumber(field), -kMaxSkinCoordinate, kMaxSkinCoordinate);
}

Element elementFromFields(const SkinFields& fields) {
    Element e;
    e.x = skinCoordinate(fields[1]);
    e.y = skinCoordinate(fields[2]);
    e.width = skinCoordinate(fields[3]);
    e.height = skinCoordinate(fields[4]);
    e.label = fields[5];
    return e;
}

SkinReader::SkinReader(std::filesystem::path skinFolder, SkinTables& tables,
                       StartupReporter& reporter)
    : folder_(std::move(skinFolder)), tables_(tables), reporter_(reporter) {}

SkinFields SkinReader::entry(const std::filesystem::path& file, const QString& section, int key) {
    return skinEntry(file, reporter_, [&] {
        auto document = documents_.find(file.string());
        if (document == documents_.end()) {
            std::ifstream in(file, std::ios::binary);
            std::ostringstream text;
            text << in.rdbuf();
            document = documents_.emplace(file.string(), ProfileStringsDocument(text.str())).first;
        }
        const auto value = document->second.find(section.toStdString(), std::to_string(key));
        return cutToCodePoints(value.value_or(""), kSkinValueBuffer - 1);
    });
}

template <std::size_t N>
void SkinReader::readElementTable(const char* fileName, std::array<Element, N>& table) {
    const auto path = file(fileName);
    for (std::size_t i = 0; i < N; ++i) {
        table[i] = elementFromFields(entry(path, QStringLiteral("BUTTONPOS"), static_cast<int>(i)));
    }
}

void SkinReader::readMainTable() {
    readElementTable(kMainSkinFile, tables_.main);
}

void SkinReader::readFunctionNames() {
    const auto path = file(kMainSkinFile);
    for (int i = 0; i < 50; ++i) {
        tables_.functionNames[static_cast<std::size_t>(i)] =
            entry(path, QStringLiteral("FUN_STRING"), i)[0];
    }
    for (int i = 50; i < kFunctionNameCount; ++i) {
        tables_.functionNames[static_cast<std::size_t>(i)].clear();
    }
}

void SkinReader::readColorTable() {
    readElementTable(kColorSkinFile, tables_.color);
}

void SkinReader::readAdvancedTable() {
    readElementTable(kAdvancedSkinFile, tables_.advanced);
}

QRect SkinReader::readRect(const char* fileName, const QString& section, int key) {
    const SkinFields f = entry(file(fileName), section, key);
    return QRect(skinCoordinate(f[1]), skinCoordinate(f[2]), skinCoordinate(f[3]),
                 skinCoordinate(f[4]));
}

void SkinReader::readNameEditRect() {
    tables_.nameEditRect = readRect(kAdvancedSkinFile, QStringLiteral("EDIT"), 4);
}

void SkinReader::readListRects() {
    tables_.nameListRect = readRect(kAdvancedSkinFile, QStringLiteral("MACRODISPLAY"), 1);
    tables_.eventListRect = readRect(kAdvancedSkinFile, QStringLiteral("MACRODISPLAY"), 2);
}

} // namespace veldran
