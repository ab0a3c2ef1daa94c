#include "control/ProgramRules.h"

#include "config/Profile.h"
#include "formats/PrintableText.h"
#include "formats/ProfileStringsDocument.h"
#include "platform/ProfileStrings.h"

#include <system_error>
#include <unordered_set>
#include <utility>

namespace veldran {

namespace {

constexpr const char* kProgramsSection = "Programs";
constexpr const char* kSettingsSection = "Settings";

// A switch of [Settings]: off only when written as 0.
bool switchOn(const ProfileStringsDocument& document, const char* key) {
    const auto value = document.find(kSettingsSection, key);
    return !value || *value != "0";
}

// Program names compare ignoring the case of ASCII letters.
std::string lowerCase(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

constexpr std::size_t kMaxReportedProblems = 20;

} // namespace

LoadedProgramRules loadProgramRules(const std::filesystem::path& file) {
    LoadedProgramRules loaded;
    std::error_code error;
    if (!std::filesystem::exists(file, error) && !error) {
        return loaded;
    }
    const std::string shownFile = printableText(file.string());
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (!error && size > kMaxProgramsFileBytes) {
        loaded.problems.push_back(shownFile +
                                  " is larger than 1 MB; programs do not switch profiles");
        return loaded;
    }
    const std::optional<std::string> text = ProfileStrings::readText(file);
    if (!text) {
        loaded.problems.push_back(shownFile + " cannot be read; programs do not switch profiles");
        return loaded;
    }
    return parseProgramRules(*text, shownFile);
}

LoadedProgramRules parseProgramRules(std::string_view text, const std::string& shownFile) {
    LoadedProgramRules loaded;
    const ProfileStringsDocument document(text);
    loaded.rules.enabled = switchOn(document, "Enabled");
    loaded.rules.notify = switchOn(document, "Notify");

    // Past a few lines, one more says how many were left out, so that a file of broken lines
    // cannot flood standard error.
    std::size_t refused = 0;
    auto refuse = [&](std::string line) {
        if (++refused <= kMaxReportedProblems) {
            loaded.problems.push_back(std::move(line));
        }
    };
    for (const std::string& line : document.unreadLines(kProgramsSection)) {
        refuse("ignoring line \"" + printableText(line) + "\" in " + shownFile +
               ": a rule is written PROGRAM=PROFILE");
    }
    // Names already taken, in lower case: the first of two rules for one program counts, found
    // in constant time so that a long file loads in linear time.
    std::unordered_set<std::string> known;
    bool selfReported = false;
    std::size_t beyondLimit = 0;
    for (const auto& [key, value] : document.entries(kProgramsSection)) {
        const int profile = userProfileDigit(value);
        if (key.empty() || profile == 0) {
            refuse("ignoring rule \"" + printableText(key + "=" + value) + "\" in " + shownFile +
                   ": the program must be named and the profile must be 1 to 5");
            continue;
        }
        if (!isValidProgramKey(key)) {
            // A NUL byte, the only one a key from the file can hold that cannot be stored: no
            // window's name holds it, and the rule could not be saved back.
            refuse("ignoring rule \"" + printableText(key + "=" + value) + "\" in " + shownFile +
                   ": a program name cannot hold a NUL byte");
            continue;
        }
        if (equalsIgnoringCase(key, kDriverProgramName)) {
            // The driver's own window in front would switch the profile the user is editing.
            if (!std::exchange(selfReported, true)) {
                loaded.problems.push_back("ignoring rule \"" + printableText(key + "=" + value) +
                                          "\" in " + shownFile +
                                          ": the driver's own window does not switch profiles");
            }
            continue;
        }
        if (!known.insert(lowerCase(key)).second) {
            continue;
        }
        if (loaded.rules.rules.size() >= kMaxProgramRules) {
            ++beyondLimit;
            continue;
        }
        loaded.rules.rules.push_back({key, profile});
    }
    if (refused > kMaxReportedProblems) {
        loaded.problems.push_back(std::to_string(refused - kMaxReportedProblems) +
                                  " more lines of " + shownFile + " ignored");
    }
    if (beyondLimit > 0) {
        loaded.problems.push_back(shownFile + " holds more than 10000 rules: the last " +
                                  std::to_string(beyondLimit) + " are ignored");
    }
    return loaded;
}

bool saveProgramRules(const std::filesystem::path& file, const ProgramRules& rules) {
    // The file as it stands is the base: its comments and the lines that are no rule (refused
    // ones included) keep their place; only the rules and the two switches change.
    const std::optional<std::string> text =
        programRulesText(ProfileStrings::readText(file).value_or(std::string()), rules);
    return text && ProfileStrings::replace(file, *text);
}

std::optional<std::string> programRulesText(std::string_view base, const ProgramRules& rules) {
    for (const ProgramRule& rule : rules.rules) {
        if (!isValidProgramKey(rule.program) || !isUserProfile(rule.profile)) {
            return std::nullopt;
        }
    }
    ProfileStringsDocument document(base);
    document.set(kSettingsSection, "Enabled", rules.enabled ? "1" : "0");
    document.set(kSettingsSection, "Notify", rules.notify ? "1" : "0");
    std::unordered_set<std::string> kept;
    for (const ProgramRule& rule : rules.rules) {
        kept.insert(lowerCase(rule.program));
    }
    for (const auto& [key, value] : document.entries(kProgramsSection)) {
        const bool rule = isValidProgramKey(key) && userProfileDigit(value) != 0 &&
                          !equalsIgnoringCase(key, kDriverProgramName);
        if (rule && kept.count(lowerCase(key)) == 0) {
            document.remove(kProgramsSection, key);
        }
    }
    for (const ProgramRule& rule : rules.rules) {
        document.set(kProgramsSection, rule.program, std::to_string(rule.profile));
    }
    return document.text();
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
