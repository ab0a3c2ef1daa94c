#include "config/ProfileStore.h"

#include "config/FunctionCode.h"
#include "formats/LenientNumber.h"
#include "formats/ProfileStringsDocument.h"
#include "platform/ProfileStrings.h"

#include <string>
#include <utility>
#include <vector>

namespace veldran {

namespace {

// Read buffers, in characters with the terminator: a value is cut to one less before parsing.
constexpr std::size_t kNumberBuffer = 5;
constexpr std::size_t kDpiBuffer = 10;

constexpr const char* kInitSection = "Init";
constexpr const char* kCurConfigKey = "CurConfig";

std::string sectionName(int n) {
    return "Config" + formatDecimal(n);
}

} // namespace

ProfileStore::ProfileStore(std::filesystem::path configPath) : path_(std::move(configPath)) {}

void ProfileStore::load(int n, Profile& profile) const {
    loadFromText(ProfileStrings::fileText(path_), n, profile);
}

void ProfileStore::loadFromText(std::string_view text, int n, Profile& profile) {
    const ProfileStringsDocument document(text);
    const std::string section = sectionName(n);
    auto read = [&](const std::string& key, std::size_t buffer) {
        return parseProfileNumber(ProfileStrings::getFromText(document, section, key, "", buffer));
    };
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        profile.setCode(slot, read("K" + formatDecimal(slot), kNumberBuffer));
    }
    profile.wheelMode.store(read("WHEEL_STATUS", kNumberBuffer));
    profile.dpiLevel.store(read("DPI_LEVEL", kNumberBuffer));
    for (int stage = 1; stage <= kStageCount; ++stage) {
        // Only the low 8 bits of a DPI code are kept: 300 becomes 44, -1 becomes 255.
        const auto code =
            static_cast<std::uint8_t>(read("DPI_SET" + formatDecimal(stage), kDpiBuffer));
        DpiStage& s = profile.stages[static_cast<std::size_t>(stage - 1)];
        s.editedCode.store(code);
        s.codeInForce.store(code);
        s.selectionId.store(selectionIdFor(stage, code));
    }
    profile.lightMode.store(static_cast<std::uint8_t>(read("LED_STATUS", kNumberBuffer)));
}

std::vector<std::pair<std::string, std::string>> ProfileStore::profileKeys(const Profile& profile) {
    std::vector<std::pair<std::string, std::string>> keys;
    keys.reserve(kSlotCount + 7);
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        keys.emplace_back("K" + formatDecimal(slot), formatDecimal(profile.code(slot)));
    }
    keys.emplace_back("DPI_LEVEL", formatDecimal(profile.dpiLevel.load()));
    keys.emplace_back("WHEEL_STATUS", formatDecimal(profile.wheelMode.load()));
    for (int stage = 1; stage <= kStageCount; ++stage) {
        keys.emplace_back(
            "DPI_SET" + formatDecimal(stage),
            formatDecimal(profile.stages[static_cast<std::size_t>(stage - 1)].editedCode.load()));
    }
    keys.emplace_back("LED_STATUS", formatDecimal(unsigned{profile.lightMode.load()}));
    return keys;
}

bool ProfileStore::save(int n, const Profile& profile) const {
    return ProfileStrings::writeAll(path_, sectionName(n), profileKeys(profile));
}

bool ProfileStore::saveApplied(std::int32_t curConfig, const Profile& profile,
                               std::string* problem) const {
    return ProfileStrings::writeSections(
        path_,
        {{kInitSection, {{kCurConfigKey, formatDecimal(curConfig)}}},
         {sectionName(kAppliedProfile), profileKeys(profile)}},
        problem);
}

std::size_t ProfileStore::removeStaleTemporaries() const {
    return ProfileStrings::removeStaleTemporaries(path_);
}

std::int32_t ProfileStore::readCurConfig() const {
    return curConfigFromText(ProfileStrings::fileText(path_));
}

std::int32_t ProfileStore::curConfigFromText(std::string_view text) {
    return parseProfileNumber(ProfileStrings::getFromText(
        ProfileStringsDocument(text), kInitSection, kCurConfigKey, "", kNumberBuffer));
}

bool ProfileStore::writeCurConfig(std::int32_t curConfig) const {
    return ProfileStrings::write(path_, kInitSection, kCurConfigKey, formatDecimal(curConfig));
}

} // namespace veldran
