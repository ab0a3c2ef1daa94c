// Texts of the message boxes that the settings files give rise to. The failure texts tell the
// user that a Save did not reach the disk, so that a lost change never passes as a stored one.
#pragma once

#include <filesystem>
#include <string>

namespace veldran {

// Shown when Macro.dat is missing at start-up; the program then ends.
inline constexpr const char* kMissingMacroFileMessage = "找不到配置文件";

// Shown when the profile could not be written to config.ini.
std::string profileSaveFailedMessage(const std::filesystem::path& configPath);

// Shown when the macros could not be written to Macro.dat.
std::string macroSaveFailedMessage(const std::filesystem::path& macroPath);

} // namespace veldran
