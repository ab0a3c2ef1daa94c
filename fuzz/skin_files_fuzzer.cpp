// Feeds arbitrary bytes as the text of the skin's three layout files through the skin reader's
// loading steps, and checks the tables they fill: coordinates within their bound, the same
// entries giving the same elements in each table, no message but the one for extra commas; the
// tables written back as a layout file read back the same, without a message.
#include "formats/ProfileStringsDocument.h"
#include "skin/SkinReader.h"
#include "skin/StartupReporter.h"

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <unistd.h>

using namespace veldran;

namespace {

class CountingReporter final : public StartupReporter {
public:
    void message(const QString& text) override {
        if (text != QString::fromUtf8(kSkinValueErrorMessage)) {
            std::abort(); // the files are there: only a value can be wrong
        }
        ++messages;
    }
    void exitSequence() override { std::abort(); }
    int messages = 0;
};

// A folder whose three layout files are one file under three names, so that one write gives
// them all the same text. Its name is kept in a plain array, which is still there when the
// folder is removed at exit (after the static objects are gone).
char folderName[4096];

const std::filesystem::path& skinFolder() {
    static const std::filesystem::path folder = [] {
        const std::string name =
            (std::filesystem::temp_directory_path() / "skin_files_fuzzer.XXXXXX").string();
        if (name.size() >= sizeof folderName) {
            std::abort();
        }
        name.copy(folderName, name.size());
        if (::mkdtemp(folderName) == nullptr) {
            std::abort();
        }
        const std::filesystem::path made(folderName);
        std::ofstream(made / kMainSkinFile).flush();
        std::filesystem::create_hard_link(made / kMainSkinFile, made / kColorSkinFile);
        std::filesystem::create_hard_link(made / kMainSkinFile, made / kAdvancedSkinFile);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(folderName, ignored);
        });
        return made;
    }();
    return folder;
}

SkinTables readTables(std::string_view text, CountingReporter& reporter) {
    {
        std::ofstream out(skinFolder() / kMainSkinFile, std::ios::binary | std::ios::trunc);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    SkinTables tables;
    SkinReader reader(skinFolder(), tables, reporter);
    reader.readMainTable();
    reader.readFunctionNames();
    reader.readColorTable();
    reader.readAdvancedTable();
    reader.readNameEditRect();
    reader.readListRects();
    return tables;
}

bool inBound(std::int32_t value) {
    return value >= -kMaxSkinCoordinate && value <= kMaxSkinCoordinate;
}

bool sameElement(const Element& a, const Element& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height &&
           a.label == b.label;
}

// One value, quoted so that the blanks at its ends stay; false when the reader would cut it.
bool fitsOneValue(const std::string& value) {
    return cutToCodePoints(value, 259) == value;
}

std::string elementValue(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                         const QString& label) {
    return "," + std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(w) + "," +
           std::to_string(h) + "," + label.toStdString() + ",";
}

std::string rectValue(const QRect& r) {
    return elementValue(r.x(), r.y(), r.width(), r.height(), {});
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CountingReporter reporter;
    const SkinTables tables = readTables(text, reporter);

    for (const Element& e : tables.main) {
        if (!inBound(e.x) || !inBound(e.y) || !inBound(e.width) || !inBound(e.height)) {
            std::abort();
        }
    }
    // The three files hold the same text: the same BUTTONPOS key gives the same element.
    for (std::size_t i = 0; i < tables.color.size(); ++i) {
        if (!sameElement(tables.color[i], tables.main[i])) {
            std::abort();
        }
    }
    for (std::size_t i = 0; i < tables.advanced.size(); ++i) {
        if (!sameElement(tables.advanced[i], tables.main[i])) {
            std::abort();
        }
    }
    for (std::size_t i = 50; i < tables.functionNames.size(); ++i) {
        if (!tables.functionNames[i].isEmpty()) {
            std::abort();
        }
    }

    // Written back: every value that the reader does not cut reads back as it was. Empty values
    // are left out (a missing key reads as one), which keeps the text as short as the input's.
    std::string written = "[BUTTONPOS]\n";
    std::array<bool, kMainElementCount> elementFits{};
    for (std::size_t i = 0; i < tables.main.size(); ++i) {
        const Element& e = tables.main[i];
        const std::string value = elementValue(e.x, e.y, e.width, e.height, e.label);
        elementFits[i] = fitsOneValue(value);
        if (value != elementValue(0, 0, 0, 0, {})) {
            written += std::to_string(i) + "=\"" + value + "\"\n";
        }
    }
    written += "[FUN_STRING]\n";
    std::array<bool, 50> nameFits{};
    for (std::size_t i = 0; i < nameFits.size(); ++i) {
        const std::string name = tables.functionNames[i].toStdString();
        nameFits[i] = fitsOneValue(name);
        if (!name.empty()) {
            written += std::to_string(i) + "=\"" + name + "\"\n";
        }
    }
    written += "[EDIT]\n4=" + rectValue(tables.nameEditRect) +
               "\n[MACRODISPLAY]\n1=" + rectValue(tables.nameListRect) +
               "\n2=" + rectValue(tables.eventListRect) + "\n";

    CountingReporter again;
    const SkinTables reread = readTables(written, again);
    if (again.messages != 0) {
        std::abort();
    }
    for (std::size_t i = 0; i < tables.main.size(); ++i) {
        if (elementFits[i] && !sameElement(reread.main[i], tables.main[i])) {
            std::abort();
        }
    }
    for (std::size_t i = 0; i < nameFits.size(); ++i) {
        if (nameFits[i] && reread.functionNames[i] != tables.functionNames[i]) {
            std::abort();
        }
    }
    if (reread.nameEditRect != tables.nameEditRect || reread.nameListRect != tables.nameListRect ||
        reread.eventListRect != tables.eventListRect) {
        std::abort();
    }
    return 0;
}
