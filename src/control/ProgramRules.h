// The rules that make a profile follow the program in front, as kept in programs.ini beside
// config.ini: [Programs] holds one key per program with its profile (1-5), [Settings] the
// switches Enabled and Notify (both 1 unless set to 0). A key names a program by its window's app
// id, the instance or class part of its WM_CLASS or the file name of its executable, ignoring
// case.
#pragma once

#include "platform/ActiveWindow.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veldran {

inline constexpr const char* kProgramsFileName = "programs.ini";
// The driver's own program name: a rule for it is ignored.
inline constexpr const char* kDriverProgramName = "veldran-driver";
// A larger file is not read; rules beyond the limit are left out (each time with one line).
inline constexpr std::uintmax_t kMaxProgramsFileBytes = 1024 * 1024;
inline constexpr std::size_t kMaxProgramRules = 10000;

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

// Reads programs.ini, in time linear in its size. A missing file gives the feature off and no
// problem; an unreadable one, or one over 1 MB, the feature off and a problem. Rules with an
// empty key or one holding a NUL byte, a profile that is not a number or outside 1-5, and lines
// without '=' are left out, each with a problem (20 at most, then one line with the count); so are
// a rule for the driver itself (one problem) and the rules beyond the first 10,000 (one problem).
// The first of two rules for one program counts. Names from the file are escaped in the problems.
LoadedProgramRules loadProgramRules(const std::filesystem::path& file);

// The rules of a programs.ini text, as loadProgramRules reads them; shownFile names the file in
// the problems.
LoadedProgramRules parseProgramRules(std::string_view text, const std::string& shownFile);

// Writes rules to file, atomically; a new file is readable by its owner only. The file's
// comments and its lines that are no rule (refused ones too) stay where they were; rules that are
// gone are removed, the others changed in place (on the first line of their name, which may be
// a refused one) or added at the end of [Programs].
bool saveProgramRules(const std::filesystem::path& file, const ProgramRules& rules);

// The text saveProgramRules writes over a file that holds base; nothing when a rule cannot be
// stored (see isValidProgramKey) or names no profile from 1 to 5.
std::optional<std::string> programRulesText(std::string_view base, const ProgramRules& rules);

// The profile of the first rule that names the program, or nothing.
std::optional<int> matchProgramRule(const ProgramRules& rules, const WindowProgram& program);

// Whether a rule key can be stored as it is: not empty, on one line, without '=' and without
// blanks around it.
bool isValidProgramKey(const std::string& program);

} // namespace veldran
