// Feeds arbitrary bytes as the text of config.ini through the INI document, the profile-string
// reads and the profile store, and checks that an edit changes only what it should.
#include "config/ProfileStore.h"
#include "platform/ProfileStrings.h"
#include "platform/ProfileStringsDocument.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

using namespace veldran;

namespace {

std::size_t codePoints(const std::string& text) {
    std::size_t n = 0;
    for (char c : text) {
        n += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    }
    return n;
}

const std::filesystem::path& scratchFile() {
    static const std::filesystem::path file =
        std::filesystem::temp_directory_path() /
        ("veldran-profile-fuzz-" + std::to_string(::getpid()) + ".ini");
    static const bool cleanup = [] {
        std::atexit([] { std::filesystem::remove(file); });
        return true;
    }();
    (void)cleanup;
    return file;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    // Parsing and printing an unedited document gives the text back byte for byte.
    ProfileStringsDocument document(text);
    if (document.text() != text) {
        std::abort();
    }

    // A set key reads back, and a second document of the edited text agrees.
    const std::string section =
        size > 0 ? std::string(1, static_cast<char>('A' + data[0] % 4)) : std::string("Config1");
    if (document.set(section, "K1", "42")) {
        const std::string edited = document.text();
        if (ProfileStringsDocument(edited).find(section, "K1") !=
            std::optional<std::string>("42")) {
            std::abort();
        }
        if (edited.size() < text.size()) {
            std::abort();
        }
    }

    const auto& file = scratchFile();
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out << text;
    }
    for (std::size_t buffer : {0, 1, 3, 5, 10, 556}) {
        const std::string value = ProfileStrings::get(file, "Config1", "K1", "default", buffer);
        if (codePoints(value) + 1 > std::max<std::size_t>(buffer, 1)) {
            std::abort();
        }
    }
    const ProfileStore store(file);
    Profile profile;
    store.load(store.readCurConfig(), profile);
    for (const auto& stage : profile.stages) {
        if (stage.editedCode.load() < 0 || stage.editedCode.load() > 255) {
            std::abort();
        }
    }
    return 0;
}
