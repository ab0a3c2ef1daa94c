#include "fakes/VirtualMouseProcess.h"

#include <array>
#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace veldran::fakes {

std::string VirtualMouseProcess::programPath() {
    const char* binDir = std::getenv("VELDRAN_BIN_DIR");
    if (binDir != nullptr && *binDir != '\0') {
        return std::string(binDir) + "/veldran-virtual-mouse";
    }
    std::array<char, PATH_MAX> self{};
    const ssize_t n = readlink("/proc/self/exe", self.data(), self.size() - 1);
    std::string dir = n > 0 ? std::string(self.data(), static_cast<std::size_t>(n)) : ".";
    dir = dir.substr(0, dir.rfind('/'));
    return dir + "/veldran-virtual-mouse";
}

std::string VirtualMouseProcess::socketPathFor(const std::string& tag) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string dir = runtime != nullptr && *runtime != '\0' ? runtime : "/tmp";
    return dir + "/vm-" + tag + "-" + std::to_string(getpid()) + ".sock";
}

VirtualMouseProcess::VirtualMouseProcess(const std::string& socketPath,
                                         const std::vector<std::string>& args,
                                         const std::vector<std::string>& launcher) {
    int in[2] = {-1, -1};
    int out[2] = {-1, -1};
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) {
        return;
    }
    std::vector<std::string> argv = launcher;
    argv.insert(argv.end(), {programPath(), "--socket", socketPath});
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> cargv;
    for (std::string& a : argv) {
        cargv.push_back(a.data());
    }
    cargv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    const int spawned = posix_spawn(&pid_, cargv[0], &actions, nullptr, cargv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    close(out[1]);
    toChild_ = in[1];
    fromChild_ = out[0];
    if (spawned != 0) {
        pid_ = -1;
        return;
    }
    started_ = nextLine(10000).has_value();
}

VirtualMouseProcess::~VirtualMouseProcess() {
    finish();
}

void VirtualMouseProcess::command(const std::string& line) {
    const std::string text = line + "\n";
    std::size_t done = 0;
    while (toChild_ >= 0 && done < text.size()) {
        const ssize_t n = write(toChild_, text.data() + done, text.size() - done);
        if (n <= 0) {
            return;
        }
        done += static_cast<std::size_t>(n);
    }
}

std::optional<std::string> VirtualMouseProcess::nextLine(int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (auto line = lines_.next()) {
            return line;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        if (fromChild_ < 0 || left <= 0) {
            return std::nullopt;
        }
        pollfd fd{fromChild_, POLLIN, 0};
        if (poll(&fd, 1, static_cast<int>(left)) <= 0) {
            continue;
        }
        std::array<char, 4096> chunk{};
        const ssize_t n = read(fromChild_, chunk.data(), chunk.size());
        if (n <= 0) {
            return std::nullopt;
        }
        lines_.feed({chunk.data(), static_cast<std::size_t>(n)});
    }
}

std::optional<std::string> VirtualMouseProcess::nextDataLine(int timeoutMs) {
    for (;;) {
        auto line = nextLine(timeoutMs);
        if (!line || line->empty() || (*line)[0] != '#') {
            return line;
        }
    }
}

bool VirtualMouseProcess::waitForLine(const std::string& text, int timeoutMs) {
    while (auto line = nextLine(timeoutMs)) {
        if (*line == text) {
            return true;
        }
    }
    return false;
}

int VirtualMouseProcess::finish() {
    if (toChild_ >= 0) {
        close(toChild_);
        toChild_ = -1;
    }
    int status = -1;
    if (pid_ > 0) {
        // End of input means quit; a program that does not end within 10 s is killed.
        for (int i = 0; i < 1000; ++i) {
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, &status, 0);
            pid_ = -1;
        }
    }
    if (fromChild_ >= 0) {
        close(fromChild_);
        fromChild_ = -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace veldran::fakes
