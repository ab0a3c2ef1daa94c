#include "control/ProfileSet.h"

#include "config/FunctionCode.h"
#include "config/MacroStore.h"
#include "config/MacroTable.h"
#include "config/ProfileStore.h"
#include "config/SettingsLocation.h"
#include "formats/ProfileStringsDocument.h"
#include "platform/PrivateFolder.h"
#include "platform/ProfileStrings.h"

#include <algorithm>
#include <ctime>
#include <memory>
namespace veldran {
namespace {

// A folder of its own for this backup: backup-YYYYMMDD-HHMMSS, with -2, -3, ... after it when
// an import in the same second made one already.
std::optional<std::filesystem::path> makeBackupFolder(const std::filesystem::path& settings,
                                                      std::string& problem) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "backup-%Y%m%d-%H%M%S", &local);
    for (int n = 1; n < 100; ++n) {
        const std::filesystem::path folder =
            settings / (std::string(stamp) + (n == 1 ? "" : "-" + std::to_string(n)));
        std::error_code error;
        if (std::filesystem::exists(std::filesystem::symlink_status(folder, error))) {
            continue;
        }
        if (const std::string refused = ensurePrivateFolder(folder.string()); !refused.empty()) {
            problem = "cannot keep a backup: " + refused;
            return std::nullopt;
        }
        return folder;
    }
    problem = "cannot create a backup folder in " + settings.string();
    return std::nullopt;
}

struct Original {
    std::filesystem::path file;
    std::optional<std::string> text; // nothing when the file did not exist
};

// Puts every file back as it was before the import began.
void restore(const std::vector<Original>& originals) {
    for (const Original& original : originals) {
        if (original.text) {
            ProfileStrings::replace(original.file, *original.text);
        } else {
            std::error_code ignored;
            std::filesystem::remove(original.file, ignored);
        }
    }
}

std::unique_ptr<MacroTable> tableOf(const std::vector<StoredMacro>& macros) {
    auto table = std::make_unique<MacroTable>();
    table->setCount(static_cast<std::int16_t>(macros.size()));
    table->edit([&](auto& records) {
        for (std::size_t i = 0; i < macros.size(); ++i) {
            MacroRecord record{};
            record.setName(macros[i].name);
            for (std::size_t k = 0; k < macros[i].events.size(); ++k) {
                record.setEvent(static_cast<int>(k), macros[i].events[k]);
            }
            record.eventCount = static_cast<std::uint8_t>(macros[i].events.size());
            records[i] = record;
        }
    });
    for (std::size_t i = 0; i < macros.size(); ++i) {
        table->setRepeat(static_cast<int>(i), macros[i].repeat);
    }
    return table;
}

} // namespace

StoredProfile StoredProfile::of(const Profile& profile) {
    StoredProfile stored;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        stored.buttons[static_cast<std::size_t>(slot - 1)] = profile.code(slot);
    }
    stored.dpiLevel = profile.dpiLevel.load();
    stored.wheel = profile.wheelMode.load();
    for (std::size_t i = 0; i < stored.dpi.size(); ++i) {
        stored.dpi[i] = profile.stages[i].editedCode.load();
    }
    stored.light = profile.lightMode.load();
    return stored;
}

void StoredProfile::copyTo(Profile& profile) const {
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        profile.setCode(slot, buttons[static_cast<std::size_t>(slot - 1)]);
    }
    profile.dpiLevel.store(dpiLevel);
    profile.wheelMode.store(wheel);
    for (std::size_t i = 0; i < dpi.size(); ++i) {
        DpiStage& stage = profile.stages[i];
        stage.editedCode.store(dpi[i]);
        stage.codeInForce.store(static_cast<std::uint8_t>(dpi[i]));
        stage.selectionId.store(selectionIdFor(static_cast<int>(i) + 1, dpi[i]));
    }
    profile.lightMode.store(static_cast<std::uint8_t>(light));
}

SettingsFiles SettingsFiles::inFolder(const std::filesystem::path& folder) {
    return {folder / kConfigFileName, folder / kMacroFileName, folder / kProgramsFileName};
}

std::vector<std::filesystem::path> SettingsFiles::all() const {
    return {config, macros, MacroStore(macros).repeatPath(), programs};
}

ProfileSet readProfileSet(const SettingsFiles& files) {
    ProfileSet set;
    const std::string config = ProfileStrings::fileText(files.config);
    set.selected = ProfileStore::curConfigFromText(config);
    for (int n = 1; n <= kUserProfileCount; ++n) {
        Profile profile;
        ProfileStore::loadFromText(config, n, profile);
        set.profiles[static_cast<std::size_t>(n - 1)] = StoredProfile::of(profile);
    }
    if (!ProfileStringsDocument(config)
             .entries("Config" + std::to_string(kAppliedProfile))
             .empty()) {
        Profile applied;
        ProfileStore::loadFromText(config, kAppliedProfile, applied);
        set.applied = StoredProfile::of(applied);
    }

    // A missing Macro.dat holds no macros.
    auto table = std::make_unique<MacroTable>();
    std::vector<std::string> ignored;
    if (MacroStore(files.macros).readTable(*table, ignored)) {
        for (int i = 0; i < table->count(); ++i) {
            const MacroRecord record = table->snapshot(i);
            StoredMacro macro;
            macro.name = record.nameUtf8();
            for (int k = 0; k < record.usableEventCount(); ++k) {
                macro.events.push_back(record.event(k));
            }
            macro.repeat = table->repeat(i);
            set.macros.push_back(std::move(macro));
        }
    }

    set.programs = loadProgramRules(files.programs).rules;
    return set;
}

std::string writeProfileSet(const SettingsFiles& files, ProfileStore& store,
                            const MacroStore& macroStore, const ProfileSet& set,
                            std::filesystem::path* backup) {
    std::vector<Original> originals;
    for (const std::filesystem::path& file : files.all()) {
        std::optional<std::string> text;
        std::error_code error;
        if (std::filesystem::exists(std::filesystem::symlink_status(file, error))) {
            text = ProfileStrings::readText(file);
            if (!text) {
                return "cannot read " + file.string();
            }
        }
        originals.push_back({file, std::move(text)});
    }
    std::string problem;
    // Nothing to keep in a folder that held no settings yet.
    const bool anyFile = std::any_of(originals.begin(), originals.end(),
                                     [](const Original& original) { return original.text; });
    const std::optional<std::filesystem::path> folder =
        anyFile ? makeBackupFolder(files.config.parent_path(), problem) : std::nullopt;
    if (anyFile && !folder) {
        return problem;
    }
    for (const Original& original : originals) {
        if (folder && original.text &&
            !ProfileStrings::replace(*folder / original.file.filename(), *original.text)) {
            return "cannot write the backup in " + folder->string();
        }
    }

    // Config1 to Config5, then Config6: the applied profile, or the selected one in its place.
    std::array<Profile, kAppliedProfile> profiles;
    std::array<const Profile*, kAppliedProfile> written{};
    for (std::size_t i = 0; i < set.profiles.size(); ++i) {
        set.profiles[i].copyTo(profiles[i]);
    }
    set.applied
        .value_or(set.profiles[static_cast<std::size_t>(
            std::clamp(set.selected, 1, kUserProfileCount) - 1)])
        .copyTo(profiles.back());
    for (std::size_t i = 0; i < profiles.size(); ++i) {
        written[i] = &profiles[i];
    }
    // A folder without programs.ini keeps none when the set has no rules to give it.
    const bool writePrograms =
        set.programs.enabled || !set.programs.rules.empty() || originals.back().text.has_value();
    std::string failed;
    if (!store.saveAll(set.selected, written, &problem)) {
        failed = problem.empty() ? "cannot write " + files.config.string() : problem;
    } else if (!macroStore.write(*tableOf(set.macros))) {
        failed = "cannot write " + files.macros.string();
    } else if (writePrograms && !saveProgramRules(files.programs, set.programs)) {
        failed = "cannot write " + files.programs.string();
    }
    if (!failed.empty()) {
        restore(originals);
        if (folder) {
            std::error_code ignored;
            std::filesystem::remove_all(*folder, ignored);
        }
        return failed + " (the settings were left as they were)";
    }
    if (backup != nullptr) {
        *backup = folder.value_or(std::filesystem::path());
    }
    return {};
}

} // namespace veldran
