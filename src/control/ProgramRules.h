// The rules that make a profile follow the program in front, as kept in programs.ini beside
// config.ini: [Programs] holds one key per program with its profile (1-5), [Settings] the
// switches Enabled and Notify (both 1 unless set to 0). A key names a program by its window's app
// id, the instance or class part of its WM_CLASS or the file name of its executable, ignoring
// case.
#pragma once

#include "platform/ActiveWindow.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace veldran {

inline constexpr const char* kProgramsFileName = "programs.ini";

struct ProgramRule {
    std::string program;
    int profile = 1;
};

struct ProgramRules {
    bool enabled = false; // a file that is missing or cannot be read leaves the feature off
    bool notify = true;
    std::vector<ProgramRule> rules;
};

struct LoadedProgramRules {
    ProgramRules rules;
    // One line for each rule that was left out and for a file that could not be read.
    std::vector<std::string> problems;
};

// Reads programs.ini. A missing file gives the feature off and no problem; an unreadable one the
// feature off and a problem. Rules with an empty key, a profile that is not a number or outside
// 1-5 are left out, each with a problem; the first of two rules for one program counts.
LoadedProgramRules loadProgramRules(const std::filesystem::path& file);

// Writes the whole of rules to file, atomically; a new file is readable by its owner only.
bool saveProgramRules(const std::filesystem::path& file, const ProgramRules& rules);

// The profile of the first rule that names the program, or nothing.
std::optional<int> matchProgramRule(const ProgramRules& rules, const WindowProgram& program);

// Whether a rule key can be stored as it is: not empty, on one line, without '=' and without
// blanks around it.
bool isValidProgramKey(const std::string& program);

} // namespace veldran
