#include "config/SettingsLocation.h"

#include "platform/ProfileStrings.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <pwd.h>
#include <sstream>
#include <sys/stat.h>
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

// Why the file or folder at path, of which info tells, could be changed by another user: "" when
// it cannot. A symbolic link's own mode means nothing; its owner does.
std::string tamperProblem(const fs::path& path, const struct stat& info) {
    if (info.st_uid != ::getuid()) {
        return path.string() + " belongs to uid " + std::to_string(info.st_uid);
    }
    if (!S_ISLNK(info.st_mode) && (info.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        return path.string() + " may be written by group or others";
    }
    return {};
}

// Creates folder and the missing folders above it, each with mode 0700 whatever the umask.
std::error_code createPrivateFolders(const fs::path& folder) {
    std::error_code error;
    if (folder.empty() || fs::is_directory(folder, error)) {
        return {};
    }
    if (folder.has_parent_path() && folder.parent_path() != folder) {
        if (const auto parentError = createPrivateFolders(folder.parent_path())) {
            return parentError;
        }
    }
    if (::mkdir(folder.c_str(), 0700) != 0) {
        return errno == EEXIST && fs::is_directory(folder, error)
                   ? std::error_code()
                   : std::error_code(errno, std::generic_category());
    }
    ::chmod(folder.c_str(), 0700);
    return {};
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

namespace {

// What lets another user tamper with the settings beside the executable: the folder, config.ini
// or Macro.dat belongs to someone else or may be written by group or others. "" when nothing.
std::string besideExecutableDistrust(const fs::path& appFolder) {
    // The folder is followed (it is where the executable really is); the files are not.
    struct stat info {};
    if (::stat(appFolder.c_str(), &info) == 0) {
        if (std::string problem = tamperProblem(appFolder, info); !problem.empty()) {
            return problem;
        }
    }
    for (const char* name : {kConfigFileName, kMacroFileName}) {
        const fs::path file = appFolder / name;
        if (::lstat(file.c_str(), &info) == 0) {
            if (std::string problem = tamperProblem(file, info); !problem.empty()) {
                return problem;
            }
        }
    }
    return {};
}

} // namespace

FileLocations locateFiles(const fs::path& appFolder, const fs::path& installedDataFromBin,
                          const SettingsEnvironment& environment) {
    FileLocations locations;
    locations.dataFolder = findDataFolder(appFolder, installedDataFromBin);
    const auto userFolder = userSettingsFolder(environment);
    std::error_code error;
    const bool hasConfig = fs::is_regular_file(appFolder / kConfigFileName, error);
    const std::string distrust = hasConfig ? besideExecutableDistrust(appFolder) : std::string();
    const bool usable =
        hasConfig && ::access(appFolder.c_str(), W_OK | X_OK) == 0 && distrust.empty();
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
