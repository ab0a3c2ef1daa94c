#include "config/SettingsLocation.h"

#include "platform/PrivateFolder.h"
#include "platform/ProfileStrings.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace veldran {

namespace fs = std::filesystem;

namespace {

constexpr const char* kUserFolderName = "veldran";

std::string environmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

} // namespace

SettingsEnvironment SettingsEnvironment::ofProcess() {
    SettingsEnvironment environment{environmentValue("XDG_CONFIG_HOME"), environmentValue("HOME")};
    if (environment.home.empty()) {
        environment.home = homeFolderOfUser();
    }
    return environment;
}

std::optional<fs::path> userSettingsFolder(const SettingsEnvironment& environment) {
    const fs::path xdg(environment.xdgConfigHome);
    if (xdg.is_absolute()) {
        return xdg / kUserFolderName;
    }
    const fs::path home(environment.home);
    if (home.is_absolute()) {
        return home / ".config" / kUserFolderName;
    }
    return std::nullopt;
}

fs::path findDataFolder(const fs::path& appFolder, const fs::path& installedDataFromBin) {
    std::error_code error;
    if (fs::is_directory(appFolder / kSkinFolderName, error)) {
        return appFolder;
    }
    return (appFolder / installedDataFromBin).lexically_normal();
}

namespace {

// What lets another user tamper with the settings beside the executable: the folder, config.ini
// or Macro.dat belongs to someone else or may be written by group or others. "" when nothing.
std::string besideExecutableDistrust(const fs::path& appFolder) {
    // The folder is followed (it is where the executable really is); the files are not.
    if (std::string problem = tamperProblem(appFolder, true); !problem.empty()) {
        return problem;
    }
    for (const char* name : {kConfigFileName, kMacroFileName}) {
        if (std::string problem = tamperProblem(appFolder / name, false); !problem.empty()) {
            return problem;
        }
    }
    return {};
}

} // namespace

FileLocations locateFiles(const fs::path& appFolder, const fs::path& installedDataFromBin,
                          const SettingsEnvironment& environment) {
    FileLocations locations;
    locations.dataFolder = findDataFolder(appFolder, installedDataFromBin);
    locations.trustedDataFolder =
        locations.dataFolder == appFolder && !tamperProblem(appFolder, true).empty()
            ? (appFolder / installedDataFromBin).lexically_normal()
            : locations.dataFolder;
    const auto userFolder = userSettingsFolder(environment);
    std::error_code error;
    const bool hasConfig = fs::is_regular_file(appFolder / kConfigFileName, error);
    const std::string distrust = hasConfig ? besideExecutableDistrust(appFolder) : std::string();
    const bool usable = hasConfig && mayCreateFilesIn(appFolder) && distrust.empty();
    locations.besideExecutable = usable || !userFolder;
    locations.settingsFolder = locations.besideExecutable ? appFolder : *userFolder;
    if (!locations.besideExecutable) {
        locations.besideExecutableRefused = distrust;
    }
    return locations;
}

std::string prepareSettingsFolder(const FileLocations& locations) {
    if (locations.besideExecutable) {
        return {};
    }
    std::error_code error = createPrivateFolders(locations.settingsFolder);
    if (error) {
        return "cannot create " + locations.settingsFolder.string() + ": " + error.message();
    }
    std::string problems;
    for (const char* name : {kConfigFileName, kMacroFileName}) {
        const fs::path target = locations.settingsFolder / name;
        if (fs::exists(fs::symlink_status(target, error))) {
            continue;
        }
        const fs::path source = locations.trustedDataFolder / name;
        // A missing default is a problem, not an empty file to copy.
        const auto text =
            fs::is_regular_file(source, error) ? ProfileStrings::readText(source) : std::nullopt;
        if (!text) {
            problems += (problems.empty() ? "" : "; ") + ("cannot read " + source.string());
            continue;
        }
        if (!ProfileStrings::createIfMissing(target, *text)) {
            problems += (problems.empty() ? "" : "; ") +
                        ("cannot write " + target.string() + ": " + std::strerror(errno));
        }
    }
    return problems;
}

} // namespace veldran
