// config.ini: the five user profiles Config1 to Config5, the applied profile Config6 and the
// selected profile number (section Init, key CurConfig).
#pragma once

#include "config/Profile.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace veldran {

class ProfileStore {
public:
    explicit ProfileStore(std::filesystem::path configPath);

    // Reads section "Config" + n into the working profile (DpiActions, CurConfig and the armed
    // flag stay as they are). A missing file, section or key reads as 0.
    void load(int n, Profile& profile) const;
    // The same from the text of a config.ini held in memory.
    static void loadFromText(std::string_view text, int n, Profile& profile);
    // Writes the working profile into section "Config" + n. False when the file could not be
    // written (the old file is then left intact).
    bool save(int n, const Profile& profile) const;

    std::int32_t readCurConfig() const;
    static std::int32_t curConfigFromText(std::string_view text);
    bool writeCurConfig(std::int32_t curConfig) const;

    // Apply's write: CurConfig, then the applied profile (Config6), in one replacement of the
    // file, with the bytes that writeCurConfig followed by save(6) would give. On failure,
    // problem (when given) says why in one line.
    bool saveApplied(std::int32_t curConfig, const Profile& profile,
                     std::string* problem = nullptr) const;

    // An imported profile set's write: CurConfig and the profiles Config1 to Config6 (profiles[n -
    // 1] into section Config + n), in one replacement of the file. The macro deletions noted so
    // far are forgotten: the profiles written go with the macros written beside them. On failure,
    // problem (when given) says why in one line.
    bool saveAll(std::int32_t curConfig,
                 const std::array<const Profile*, kAppliedProfile>& profiles,
                 std::string* problem = nullptr);

    // Macro `macro` (0 to 11) has been deleted from the macro table and the later ones have moved
    // down. The button codes stored in Config1 to Config6 follow at the next saveMacroButtons()
    // (when Macro.dat is written); until then a profile read from the file is given the same
    // change, and a profile written into the file (already renumbered) is left as it is.
    void noteMacroDeleted(int macro);
    // Writes the button codes of the stored profiles that the deletions noted since the last
    // call change, in one replacement of the file. False when the file could not be written.
    bool saveMacroButtons();

    // Removes what writes that were killed half-way left beside the file.
    std::size_t removeStaleTemporaries() const;

    const std::filesystem::path& path() const { return path_; }

private:
    static std::vector<std::pair<std::string, std::string>> profileKeys(const Profile& profile);
    void sectionWritten(int n) const;
    std::filesystem::path path_;
    // The macro deletions each stored profile (index n - 1) has not followed yet, in order.
    mutable std::mutex pendingMutex_;
    mutable std::array<std::vector<int>, kAppliedProfile> pendingDeletions_;
};

} // namespace veldran
