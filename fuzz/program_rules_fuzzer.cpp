// Feeds arbitrary bytes as the text of programs.ini through the rule loader and checks what it
// keeps: named rules of profiles 1 to 5, none for the driver, one per program, within the limits,
// with few problem lines; saved over their own text or over nothing, the rules read back the same.
#include "control/ProgramRules.h"
#include "formats/ProfileStringsDocument.h"

#include <cstdlib>
#include <map>
#include <string>
#include <string_view>
#include <unordered_set>

using namespace veldran;

namespace {

std::string lowerCase(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

// The same switches and the same rules, names compared ignoring case. The order may differ: a
// save changes a program's first line, which may be an earlier, refused line of the same name
// (that line then holds the rule, in its place and spelling).
bool sameRules(const ProgramRules& a, const ProgramRules& b) {
    if (a.enabled != b.enabled || a.notify != b.notify || a.rules.size() != b.rules.size()) {
        return false;
    }
    std::map<std::string, int> profiles;
    for (const ProgramRule& rule : a.rules) {
        profiles[lowerCase(rule.program)] = rule.profile;
    }
    for (const ProgramRule& rule : b.rules) {
        const auto found = profiles.find(lowerCase(rule.program));
        if (found == profiles.end() || found->second != rule.profile) {
            return false;
        }
    }
    return true;
}

// Saved over base, the rules read back as they were.
void checkSavedOver(std::string_view base, const ProgramRules& rules) {
    const std::optional<std::string> saved = programRulesText(base, rules);
    if (!saved) {
        std::abort(); // every loaded rule can be stored
    }
    if (!sameRules(parseProgramRules(*saved, "programs.ini").rules, rules)) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const LoadedProgramRules loaded = parseProgramRules(text, "programs.ini");

    // At most 20 refused lines, the count of the rest, the driver's own rule and the limit.
    if (loaded.problems.size() > 23) {
        std::abort();
    }
    for (const std::string& problem : loaded.problems) {
        for (const char c : problem) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte < 0x20 || byte == 0x7F) {
                std::abort(); // names from the file are escaped
            }
        }
    }
    if (loaded.rules.rules.size() > kMaxProgramRules) {
        std::abort();
    }
    std::unordered_set<std::string> programs;
    for (const ProgramRule& rule : loaded.rules.rules) {
        if (rule.program.empty() || rule.profile < 1 || rule.profile > 5 ||
            equalsIgnoringCase(rule.program, kDriverProgramName) ||
            !programs.insert(lowerCase(rule.program)).second) {
            std::abort();
        }
        // A rule matches the program it names, whichever name of the window carries it.
        WindowProgram window;
        window.className = rule.program;
        if (matchProgramRule(loaded.rules, window) != rule.profile) {
            std::abort();
        }
    }

    checkSavedOver(text, loaded.rules);
    checkSavedOver({}, loaded.rules);
    return 0;
}
