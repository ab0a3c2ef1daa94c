#include "platform/linux/DesktopPrograms.h"

namespace veldran {
namespace {

const std::vector<ProgramCandidate> kFileManagers = {
    {"xdg-open", {"/"}}, {"gio", {"open", "/"}}, {"nautilus", {"/"}},
    {"dolphin", {"/"}},  {"thunar", {"/"}},      {"nemo", {"/"}},
    {"caja", {"/"}},     {"pcmanfm", {"/"}},     {"pcmanfm-qt", {"/"}},
};

const std::vector<ProgramCandidate> kCalculators = {
    {"gnome-calculator", {}}, {"kcalc", {}},        {"galculator", {}}, {"mate-calc", {}},
    {"qalculate-gtk", {}},    {"qalculate-qt", {}}, {"xcalc", {}},
};

const std::vector<ProgramCandidate> kTerminals = {
    {"x-terminal-emulator", {}}, {"gnome-terminal", {}}, {"konsole", {}},   {"xfce4-terminal", {}},
    {"mate-terminal", {}},       {"lxterminal", {}},     {"qterminal", {}}, {"kitty", {}},
    {"alacritty", {}},           {"xterm", {}},
};

const std::vector<ProgramCandidate> kLockCommands = {
    {"loginctl", {"lock-session"}},
    {"xdg-screensaver", {"lock"}},
};

} // namespace

std::span<const ProgramCandidate> fileManagerCandidates() {
    return kFileManagers;
}
std::span<const ProgramCandidate> calculatorCandidates() {
    return kCalculators;
}
std::span<const ProgramCandidate> terminalCandidates() {
    return kTerminals;
}
std::span<const ProgramCandidate> lockCommandCandidates() {
    return kLockCommands;
}

std::optional<std::string>
findProgram(const std::string& name, const std::string& pathVariable,
            const std::function<bool(const std::string&)>& isExecutable) {
    if (name.empty()) {
        return std::nullopt;
    }
    if (name.find('/') != std::string::npos) {
        return isExecutable(name) ? std::optional(name) : std::nullopt;
    }
    std::size_t begin = 0;
    while (begin <= pathVariable.size()) {
        std::size_t end = pathVariable.find(':', begin);
        if (end == std::string::npos) {
            end = pathVariable.size();
        }
        // An empty or relative entry would start a program from whatever folder the driver runs
        // in: only absolute folders are searched.
        const std::string folder = pathVariable.substr(begin, end - begin);
        if (!folder.empty() && folder.front() == '/') {
            std::string candidate = folder + "/" + name;
            if (isExecutable(candidate)) {
                return candidate;
            }
        }
        begin = end + 1;
    }
    return std::nullopt;
}

std::optional<ProgramCommand>
chooseProgram(std::span<const ProgramCandidate> candidates, const std::string& pathVariable,
              const std::function<bool(const std::string&)>& isExecutable) {
    for (const auto& candidate : candidates) {
        if (auto path = findProgram(candidate.program, pathVariable, isExecutable)) {
            return ProgramCommand{std::move(*path), candidate.arguments};
        }
    }
    return std::nullopt;
}

} // namespace veldran
