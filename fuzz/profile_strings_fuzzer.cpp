// Feeds arbitrary bytes as the text of config.ini through the INI document, the profile-string
// reads and the profile store, all in memory, and checks that an edit changes only what it should.
#include "config/ProfileStore.h"
#include "formats/ProfileStringsDocument.h"
#include "platform/ProfileStrings.h"

#include <algorithm>
#include <cstdlib>
#include <string>

using namespace veldran;

namespace {

std::size_t codePoints(const std::string& text) {
    std::size_t n = 0;
    for (char c : text) {
        n += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    }
    return n;
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
    const bool keyThere = document.find(section, "K1").has_value();
    if (document.set(section, "K1", "42")) {
        const std::string edited = document.text();
        if (ProfileStringsDocument(edited).find(section, "K1") !=
            std::optional<std::string>("42")) {
            std::abort();
        }
        // Adding a key only adds bytes (replacing one may shorten the text).
        if (!keyThere && edited.size() < text.size()) {
            std::abort();
        }
    }

    const ProfileStringsDocument unedited(text);
    for (std::size_t buffer : {0, 1, 3, 5, 10, 556}) {
        const std::string value =
            ProfileStrings::getFromText(unedited, "Config1", "K1", "default  ", buffer);
        if (codePoints(value) + 1 > std::max<std::size_t>(buffer, 1)) {
            std::abort();
        }
    }
    Profile profile;
    ProfileStore::loadFromText(text, ProfileStore::curConfigFromText(text), profile);
    for (const auto& stage : profile.stages) {
        if (stage.editedCode.load() < 0 || stage.editedCode.load() > 255) {
            std::abort();
        }
    }
    return 0;
}
