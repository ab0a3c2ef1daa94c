#include "config/SettingsLocation.h"

#include "platform/ProfileStrings.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <pwd.h>
#include <sstream>
#include <unistd.h>

namespace veldran {

namespace fs = std::filesystem;

namespace {

constexpr const char* kUserFolderName = "veldran";

std::string environmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

std::optional<std::string> readWhole(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) {
        return std::nullopt;
    }
    return std::move(text).str();
}

} // namespace

SettingsEnvironment SettingsEnvironment::ofProcess() {
    SettingsEnvironment environment{environmentValue("XDG_CONFIG_HOME"), environmentValue("HOME")};
    if (environment.home.empty()) {
        if (const passwd* entry = ::getpwuid(::getuid());
            entry != nullptr && entry->pw_dir != nullptr) {
            environment.home = entry->pw_dir;
        }
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

bool settingsBesideExecutable(const fs::path& appFolder) {
    std::error_code error;
    return fs::is_regular_file(appFolder / kConfigFileName, error) &&
           ::access(appFolder.c_str(), W_OK | X_OK) == 0;
}

FileLocations locateFiles(const fs::path& appFolder, const fs::path& installedDataFromBin,
                          const SettingsEnvironment& environment) {
    FileLocations locations;
    locations.dataFolder = findDataFolder(appFolder, installedDataFromBin);
    const auto userFolder = userSettingsFolder(environment);
    locations.besideExecutable = settingsBesideExecutable(appFolder) || !userFolder;
    locations.settingsFolder = locations.besideExecutable ? appFolder : *userFolder;
    return locations;
}

std::string prepareSettingsFolder(const FileLocations& locations) {
    if (locations.besideExecutable) {
        return {};
    }
    std::error_code error;
    fs::create_directories(locations.settingsFolder, error);
    if (error) {
        return "cannot create " + locations.settingsFolder.string() + ": " + error.message();
    }
    std::string problems;
    for (const char* name : {kConfigFileName, kMacroFileName}) {
        const fs::path target = locations.settingsFolder / name;
        if (fs::exists(fs::symlink_status(target, error))) {
            continue;
        }
        const fs::path source = locations.dataFolder / name;
        const auto text = readWhole(source);
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
