#include "platform/linux/OwnProcess.h"

#include <array>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace veldran {

std::string executablePath() {
    std::array<char, 4096> buffer{};
    const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    return n > 0 ? std::string(buffer.data(), static_cast<std::size_t>(n)) : std::string();
}

int startInOwnSession(const std::vector<std::string>& argv) {
    if (argv.empty() || argv[0].empty()) {
        return -1;
    }
    std::vector<std::string> args = argv;
    std::vector<char*> pointers;
    for (std::string& arg : args) {
        pointers.push_back(arg.data());
    }
    pointers.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    // The child's messages reach the user's terminal when there is one; a pipe or file of the
    // caller's is not kept open (the child outlives this process).
    const bool terminal = ::isatty(STDERR_FILENO) == 1;
    for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (fd != STDERR_FILENO || !terminal) {
            posix_spawn_file_actions_addopen(&files, fd, "/dev/null", O_RDWR, 0);
        }
    }
    // The caller's other descriptors and its working folder are not the driver's to keep: a
    // held descriptor would stay open in it and in every program it starts.
    posix_spawn_file_actions_addclosefrom_np(&files, STDERR_FILENO + 1);
    posix_spawn_file_actions_addchdir_np(&files, "/");
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    pid_t pid = -1;
    const int failed =
        posix_spawn(&pid, pointers[0], &files, &attributes, pointers.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&files);
    return failed == 0 ? pid : -1;
}

void raiseOpenFileLimit() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &limit);
    }
}

std::optional<int> childExitStatus(int pid) {
    int status = 0;
    if (::waitpid(pid, &status, WNOHANG) != pid) {
        return std::nullopt;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace veldran
