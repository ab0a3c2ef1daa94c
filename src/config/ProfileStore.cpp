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
    std::lock_guard lock(pendingMutex_);
    if (n >= 1 && n <= kAppliedProfile) {
        for (const int deleted : pendingDeletions_[static_cast<std::size_t>(n - 1)]) {
            for (int slot = 1; slot <= kDeviceSlotCount; ++slot) {
                profile.setCode(slot, codeAfterMacroDeleted(slot, profile.code(slot), deleted));
            }
        }
    }
}

void ProfileStore::sectionWritten(int n) const {
    std::lock_guard lock(pendingMutex_);
    if (n >= 1 && n <= kAppliedProfile) {
        pendingDeletions_[static_cast<std::size_t>(n - 1)].clear();
    }
}

void ProfileStore::noteMacroDeleted(int macro) {
    std::lock_guard lock(pendingMutex_);
    for (auto& pending : pendingDeletions_) {
        pending.push_back(macro);
    }
}

bool ProfileStore::saveMacroButtons() {
    std::lock_guard lock(pendingMutex_);
    const std::string text = ProfileStrings::fileText(path_);
    const ProfileStringsDocument document(text);
    std::vector<ProfileStrings::SectionWrite> writes;
    for (int n = 1; n <= kAppliedProfile; ++n) {
        const auto& pending = pendingDeletions_[static_cast<std::size_t>(n - 1)];
        if (pending.empty()) {
            continue;
        }
        const std::string section = sectionName(n);
        std::vector<std::pair<std::string, std::string>> changed;
        for (int slot = 1; slot <= kDeviceSlotCount; ++slot) {
            const std::string key = "K" + formatDecimal(slot);
            const std::string stored =
                ProfileStrings::getFromText(document, section, key, "", kNumberBuffer);
            if (stored.empty()) {
                continue; // a button the file does not hold stays unwritten
            }
            const std::int32_t before = parseProfileNumber(stored);
            std::int32_t after = before;
            for (const int deleted : pending) {
                after = codeAfterMacroDeleted(slot, after, deleted);
            }
            if (after != before) {
                changed.emplace_back(key, formatDecimal(after));
            }
        }
        if (!changed.empty()) {
            writes.push_back({section, std::move(changed)});
        }
    }
    if (!writes.empty() && !ProfileStrings::writeSections(path_, writes)) {
        return false;
    }
    for (auto& pending : pendingDeletions_) {
        pending.clear();
    }
    return true;
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
    const bool written = ProfileStrings::writeAll(path_, sectionName(n), profileKeys(profile));
    if (written) {
        sectionWritten(n);
    }
    return written;
}

bool ProfileStore::saveApplied(std::int32_t curConfig, const Profile& profile,
                               std::string* problem) const {
    const bool written =
        ProfileStrings::writeSections(path_,
                                      {{kInitSection, {{kCurConfigKey, formatDecimal(curConfig)}}},
                                       {sectionName(kAppliedProfile), profileKeys(profile)}},
                                      problem);
    if (written) {
        sectionWritten(kAppliedProfile);
    }
    return written;
}

bool ProfileStore::saveAll(std::int32_t curConfig,
                           const std::array<const Profile*, kAppliedProfile>& profiles,
                           std::string* problem) {
    std::vector<ProfileStrings::SectionWrite> writes{
        {kInitSection, {{kCurConfigKey, formatDecimal(curConfig)}}}};
    for (int n = 1; n <= kAppliedProfile; ++n) {
        writes.push_back({sectionName(n), profileKeys(*profiles[static_cast<std::size_t>(n - 1)])});
    }
    std::lock_guard lock(pendingMutex_);
    if (!ProfileStrings::writeSections(path_, writes, problem)) {
        return false;
    }
    for (auto& pending : pendingDeletions_) {
        pending.clear();
    }
    return true;
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
