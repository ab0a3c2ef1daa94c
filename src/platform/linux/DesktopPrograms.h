// Which desktop program the shell starts for each action: ordered lists of candidates (the
// desktop's own opener and the usual programs of the common desktops) and the choice of the first
// one found on PATH. Pure functions, so the choice can be checked without starting anything.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace veldran {

// One way of doing an action: a program name (looked up on PATH) and its arguments.
struct ProgramCandidate {
    const char* program;
    std::vector<std::string> arguments;
};

// The file manager at the computer's root "/": the desktop's opener first.
std::span<const ProgramCandidate> fileManagerCandidates();
// The desktop's calculator.
std::span<const ProgramCandidate> calculatorCandidates();
// A terminal: the Debian alternatives entry first.
std::span<const ProgramCandidate> terminalCandidates();
// Session lock by command, after the D-Bus services.
std::span<const ProgramCandidate> lockCommandCandidates();

// A program to start: its full path and its arguments (without the program name).
struct ProgramCommand {
    std::string path;
    std::vector<std::string> arguments;
};

// The full path of name in the folders of pathVariable (a colon-separated list), the first one
// for which isExecutable holds. Empty and relative entries are skipped: they would name the
// current folder. A name containing a slash is taken as it is.
std::optional<std::string> findProgram(const std::string& name, const std::string& pathVariable,
                                       const std::function<bool(const std::string&)>& isExecutable);

// The first candidate whose program is found.
std::optional<ProgramCommand>
chooseProgram(std::span<const ProgramCandidate> candidates, const std::string& pathVariable,
              const std::function<bool(const std::string&)>& isExecutable);

} // namespace veldran
