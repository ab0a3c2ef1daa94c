#include "config/ConfigMessages.h"

namespace veldran {

std::string profileSaveFailedMessage(const std::filesystem::path& configPath) {
    return "Could not save the settings to " + configPath.string() +
           ".\nThe file or its folder cannot be written; the previous settings are kept.";
}

std::string macroSaveFailedMessage(const std::filesystem::path& macroPath) {
    return "Could not save the macros to " + macroPath.string() +
           ".\nThe file or its folder cannot be written; the previously saved macros are kept.";
}

} // namespace veldran
