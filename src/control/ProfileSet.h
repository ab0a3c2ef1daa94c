// The user's whole profile set as --export writes it and --import reads it back: the selected
// profile, the five profiles and the applied one of config.ini, the macros of Macro.dat with their
// repeat modes from macros.ini, and the rules of programs.ini. Read from the settings files, and
// written back to them with a copy of what they held before.
#pragma once

#include "config/MacroRecord.h"
#include "config/MacroRepeat.h"
#include "config/Profile.h"
#include "control/ProgramRules.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace veldran {

class MacroStore;
class ProfileStore;

// One profile as config.ini stores it: the numbers as they were read, also those that a hand
// edit put out of range (the driver's guards handle those where they are used).
struct StoredProfile {
    std::array<std::int32_t, kSlotCount> buttons{}; // K1 to K10
    std::int32_t dpiLevel = 0;                      // DPI_LEVEL, the stage in use from 0
    std::int32_t wheel = 0;                         // WHEEL_STATUS
    std::array<std::int32_t, kStageCount> dpi{};    // DPI_SET1 to DPI_SET4
    std::int32_t light = 0;                         // LED_STATUS

    static StoredProfile of(const Profile& profile);
    void copyTo(Profile& profile) const;
    bool operator==(const StoredProfile&) const = default;
};

struct StoredMacro {
    std::string name;               // UTF-8
    std::vector<MacroEvent> events; // at most kMacroEventCapacity
    int repeat = kRepeatOnce;       // kRepeatLoop or a pass count
    bool operator==(const StoredMacro&) const = default;
};

struct ProfileSet {
    std::int32_t selected = 1; // CurConfig
    std::array<StoredProfile, kUserProfileCount> profiles{};
    // Config6, what the mouse was sent last; without it the selected profile stands in.
    std::optional<StoredProfile> applied;
    std::vector<StoredMacro> macros; // at most kMaxMacros
    ProgramRules programs;
};

// The settings files of one settings folder.
struct SettingsFiles {
    std::filesystem::path config;   // config.ini
    std::filesystem::path macros;   // Macro.dat (macros.ini beside it)
    std::filesystem::path programs; // programs.ini

    static SettingsFiles inFolder(const std::filesystem::path& folder);
    // The files as the backup keeps them, in the order they are written.
    std::vector<std::filesystem::path> all() const;
};

// What the files hold now (missing files read as the driver reads them: profiles of zeros, no
// macros, no rules).
ProfileSet readProfileSet(const SettingsFiles& files);

// Writes set into the files through the stores the driver uses (each file replaced atomically),
// after copying the files that exist into a new folder backup-YYYYMMDD-HHMMSS of the settings
// folder (none when no file exists). When a write fails, the files written so far are put back as
// they were. Returns "" on success with the backup folder (or an empty path) in backup, else the
// reason in one line.
std::string writeProfileSet(const SettingsFiles& files, ProfileStore& store,
                            const MacroStore& macroStore, const ProfileSet& set,
                            std::filesystem::path* backup = nullptr);

} // namespace veldran
