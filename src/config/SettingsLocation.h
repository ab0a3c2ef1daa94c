// Where the driver's files are. The skin and the default settings are read-only data found from
// the executable's own folder: beside it in a build or a portable copy, else in the data folder
// of the installed tree (bin/../share/veldran under any prefix). config.ini and Macro.dat stay
// beside the executable when that folder holds a config.ini, can be written, and is safe from
// other users (it and the settings files are the user's own, writable by no one else); otherwise
// they live in the user's configuration folder, $XDG_CONFIG_HOME/veldran (~/.config/veldran when
// it is unset), which the first start creates (0700) and fills from the defaults (0600).
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace veldran {

inline constexpr const char* kConfigFileName = "config.ini";
inline constexpr const char* kMacroFileName = "Macro.dat";
inline constexpr const char* kSkinFolderName = "skins";

// The environment values the choice depends on ("" for unset).
struct SettingsEnvironment {
    std::string xdgConfigHome;
    std::string home;

    // This process's values; HOME falls back to the user's entry in the password database.
    static SettingsEnvironment ofProcess();
};

struct FileLocations {
    std::filesystem::path dataFolder; // holds skins/ and the default config.ini, Macro.dat
    // Where the default settings and the translations are taken from: dataFolder, but the
    // installed data folder when dataFolder is the executable's folder and others may change it
    // (a folder not trusted with the settings is not trusted with what fills them or with the
    // texts shown either).
    std::filesystem::path trustedDataFolder;
    std::filesystem::path settingsFolder; // holds the config.ini and Macro.dat in use
    bool besideExecutable = false;        // settingsFolder is the executable's folder
    // Why a config.ini beside the executable is not used ("" when it is, or when there is none).
    std::string besideExecutableRefused;

    std::filesystem::path skinFolder() const { return dataFolder / kSkinFolderName; }
    std::filesystem::path configPath() const { return settingsFolder / kConfigFileName; }
    std::filesystem::path macroPath() const { return settingsFolder / kMacroFileName; }
};

// The user's configuration folder of the driver: $XDG_CONFIG_HOME/veldran when that is an
// absolute path (a relative one is ignored, as the XDG rules say), else $HOME/.config/veldran;
// nothing when neither is known.
std::optional<std::filesystem::path> userSettingsFolder(const SettingsEnvironment& environment);

// The folder of the skin and the default settings: appFolder when it holds a skins folder,
// else appFolder / installedDataFromBin (lexically normalised).
std::filesystem::path findDataFolder(const std::filesystem::path& appFolder,
                                     const std::filesystem::path& installedDataFromBin);

// The whole decision. The settings stay beside the executable when its folder holds a
// config.ini, this user may create files in it (an atomic replacement writes a new file there)
// and neither the folder nor config.ini or Macro.dat belongs to someone else or may be written by
// group or others; without a user folder to go to, they stay there in any case.
FileLocations locateFiles(const std::filesystem::path& appFolder,
                          const std::filesystem::path& installedDataFromBin,
                          const SettingsEnvironment& environment);

// Creates the settings folder when it is missing (0700, like every folder it creates on the way)
// and copies each default settings file that is
// not there yet; a file that is there is never touched, even one that a concurrent start made a
// moment ago. Nothing to do when the settings stay beside the executable. Returns what went
// wrong ("" when nothing did).
std::string prepareSettingsFolder(const FileLocations& locations);

} // namespace veldran
