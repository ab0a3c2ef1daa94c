#include "control/ProgramRules.h"

#include "platform/ProfileStrings.h"
#include "platform/ProfileStringsDocument.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <system_error>

namespace veldran {

namespace {

constexpr const char* kProgramsSection = "Programs";
constexpr const char* kSettingsSection = "Settings";

bool equalsIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) {
                   return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
               };
               return lower(x) == lower(y);
           });
}

// A profile number written as plain decimal digits, 1 to 5.
std::optional<int> strictProfile(const std::string& value) {
    if (value.size() != 1 || value[0] < '1' || value[0] > '5') {
        return std::nullopt;
    }
    return value[0] - '0';
}

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
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in || !std::filesystem::is_regular_file(file, error)) {
        loaded.problems.push_back(file.string() +
                                  " cannot be read; programs do not switch profiles");
        return loaded;
    }
    const ProfileStringsDocument document(text.str());
    loaded.rules.enabled = switchOn(document, "Enabled");
    loaded.rules.notify = switchOn(document, "Notify");
    for (const auto& [key, value] : document.entries(kProgramsSection)) {
        const auto profile = strictProfile(value);
        if (key.empty() || !profile) {
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
            loaded.rules.rules.push_back({key, *profile});
        }
    }
    return loaded;
}

bool saveProgramRules(const std::filesystem::path& file, const ProgramRules& rules) {
    std::string text = "[Settings]\n";
    text += std::string("Enabled=") + (rules.enabled ? "1" : "0") + "\n";
    text += std::string("Notify=") + (rules.notify ? "1" : "0") + "\n\n[Programs]\n";
    for (const ProgramRule& rule : rules.rules) {
        if (!isValidProgramKey(rule.program) || rule.profile < 1 || rule.profile > 5) {
            return false;
        }
        text += rule.program + "=" + std::to_string(rule.profile) + "\n";
    }
    return ProfileStrings::replace(file, text);
}

std::optional<int> matchProgramRule(const ProgramRules& rules, const WindowProgram& program) {
    for (const ProgramRule& rule : rules.rules) {
        for (const std::string* name :
             {&program.instance, &program.className, &program.executable}) {
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
