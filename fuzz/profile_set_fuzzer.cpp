// Feeds arbitrary bytes as a file given to --import: the reader either refuses it with one line
// naming what is wrong, or gives a set within the limits that, written as a file again, reads back
// as the same set.
#include "control/ProfileSetJson.h"

#include <cstdlib>
#include <string_view>

using namespace veldran;

namespace {

bool sameSet(const ProfileSet& a, const ProfileSet& b) {
    if (a.selected != b.selected || a.profiles != b.profiles || a.applied != b.applied ||
        a.macros != b.macros || a.programs.enabled != b.programs.enabled ||
        a.programs.notify != b.programs.notify ||
        a.programs.rules.size() != b.programs.rules.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.programs.rules.size(); ++i) {
        if (a.programs.rules[i].program != b.programs.rules[i].program ||
            a.programs.rules[i].profile != b.programs.rules[i].profile) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ParsedProfileSet parsed =
        parseProfileSetJson(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!parsed.set) {
        if (parsed.problem.empty() || parsed.problem.find('\n') != std::string::npos) {
            std::abort(); // a refusal is one line that says why
        }
        return 0;
    }
    const ProfileSet& set = *parsed.set;
    if (!isUserProfile(set.selected) || set.macros.size() > kMaxMacros ||
        set.programs.rules.size() > kMaxProgramRules) {
        std::abort();
    }
    for (const StoredMacro& macro : set.macros) {
        if (macro.events.size() > kMacroEventCapacity || !isMacroRepeat(macro.repeat)) {
            std::abort();
        }
    }
    for (const ProgramRule& rule : set.programs.rules) {
        if (!isValidProgramKey(rule.program) || !isUserProfile(rule.profile)) {
            std::abort();
        }
    }
    const ParsedProfileSet again = parseProfileSetJson(profileSetJson(set));
    if (!again.set || !sameSet(set, *again.set)) {
        std::abort();
    }
    return 0;
}
