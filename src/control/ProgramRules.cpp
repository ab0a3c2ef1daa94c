#include "control/ProgramRules.h"

#include "config/Profile.h"
#include "formats/ProfileStringsDocument.h"
#include "platform/ProfileStrings.h"

#include <algorithm>
#include <system_error>

namespace veldran {

namespace {

constexpr const char* kProgramsSection = "Programs";
constexpr const char* kSettingsSection = "Settings";

// A switch of [Settings]: off only when written as 0.
bool switchOn(const ProfileStringsDocument& document, const char* key) {
    const auto value = document.find(kSettingsSection, key);
    return !value || *value != "0";
}

} // namespace

LoadedProgramRules loadProgramRules(const std::filesystem::path& file) {
    LoadedProgramRules loaded;
    std::error_code error;
    if (!std::filesystem::exists(file, error) && !error) {
        return loaded;
    }
    const std::optional<std::string> text = ProfileStrings::readText(file);
    if (!text) {
        loaded.problems.push_back(file.string() +
                                  " cannot be read; programs do not switch profiles");
        return loaded;
    }
    const ProfileStringsDocument document(*text);
    loaded.rules.enabled = switchOn(document, "Enabled");
    loaded.rules.notify = switchOn(document, "Notify");
    for (const auto& [key, value] : document.entries(kProgramsSection)) {
        const int profile = userProfileDigit(value);
        if (key.empty() || profile == 0) {
            loaded.problems.push_back("ignoring rule \"" + key + "=" + value + "\" in " +
                                      file.string() +
                                      ": the program must be named and the "
                                      "profile must be 1 to 5");
            continue;
        }
        const bool known = std::any_of(
            loaded.rules.rules.begin(), loaded.rules.rules.end(),
            [&key](const ProgramRule& rule) { return equalsIgnoringCase(rule.program, key); });
        if (!known) {
            loaded.rules.rules.push_back({key, profile});
        }
    }
    return loaded;
}

bool saveProgramRules(const std::filesystem::path& file, const ProgramRules& rules) {
    std::string text = "[Settings]\n";
    text += std::string("Enabled=") + (rules.enabled ? "1" : "0") + "\n";
    text += std::string("Notify=") + (rules.notify ? "1" : "0") + "\n\n[Programs]\n";
    for (const ProgramRule& rule : rules.rules) {
        if (!isValidProgramKey(rule.program) || !isUserProfile(rule.profile)) {
            return false;
        }
        text += rule.program + "=" + std::to_string(rule.profile) + "\n";
    }
    return ProfileStrings::replace(file, text);
}

std::optional<int> matchProgramRule(const ProgramRules& rules, const WindowProgram& program) {
    for (const ProgramRule& rule : rules.rules) {
        for (const std::string* name :
             {&program.appId, &program.instance, &program.className, &program.executable}) {
            if (!name->empty() && equalsIgnoringCase(rule.program, *name)) {
                return rule.profile;
            }
        }
    }
    return std::nullopt;
}

bool isValidProgramKey(const std::string& program) {
    return ProfileStringsDocument::isWritable(kProgramsSection, program, "1");
}

} // namespace veldran
