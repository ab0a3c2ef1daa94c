// The profile set as one JSON file, version 1:
//   {"format": "veldran-profiles", "version": 1, "selectedProfile": 1,
//    "profiles": [5 x {"buttons": [10 codes], "dpiLevel": 0, "wheel": 0, "dpi": [4 codes],
//                      "light": 0}],
//    "appliedProfile": {the same fields} (optional),
//    "macros": [{"name": "...", "repeat": 1..99 | "toggle",
//                "events": [{"code": 65, "action": "press" | "release" | 0..255,
//                            "pause": 0..65535}]}],
//    "programs": {"enabled": true, "notify": true,
//                 "rules": [{"program": "firefox", "profile": 3}]}}
// Reading checks the whole file before anything is used: the first field that is missing, of the
// wrong type or out of range is named, as in profiles[2].dpi[1]. Fields the reader does not know
// are ignored, so that a later version may add some.
#pragma once

#include "control/ProfileSet.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace veldran {

inline constexpr const char* kProfileSetFormat = "veldran-profiles";
inline constexpr int kProfileSetVersion = 1;

// The file's text, indented, ending with a line feed.
std::string profileSetJson(const ProfileSet& set);

struct ParsedProfileSet {
    std::optional<ProfileSet> set;
    std::string problem; // when set is empty: what is wrong, in one line
};
ParsedProfileSet parseProfileSetJson(std::string_view text);

// The file's side: the set that files hold written to target (replaced atomically, readable by
// its owner only, as the settings are), and a file read and checked. Each gives its problem in
// one line that names the file; "" or a set when there is none.
std::string exportProfileSet(const SettingsFiles& files, const std::filesystem::path& target);
ParsedProfileSet readProfileSetFile(const std::filesystem::path& file);

} // namespace veldran
