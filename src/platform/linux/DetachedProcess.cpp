#include "platform/linux/DetachedProcess.h"

#include "platform/PrivateFolder.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace veldran {
namespace {

// Everything the child needs is prepared before fork(): after it only async-signal-safe calls
// are made, since other threads of this process may hold locks.
struct PreparedCommand {
    std::vector<std::string> storage;
    std::vector<char*> argv;
    std::string workingFolder = homeFolderOfUser();

    explicit PreparedCommand(const ProgramCommand& command) {
        storage.push_back(command.path);
        storage.insert(storage.end(), command.arguments.begin(), command.arguments.end());
        for (auto& text : storage) {
            argv.push_back(text.data());
        }
        argv.push_back(nullptr);
    }
};

// Closes every descriptor from 3 up but keep (async-signal-safe).
void closeDescriptorsAbove2Except(int keep) {
    const auto closeFrom = [](unsigned first, unsigned last) {
        if (first <= last && ::close_range(first, last, 0) != 0) {
            for (unsigned fd = first; fd <= last && fd < 65536; ++fd) {
                ::close(static_cast<int>(fd));
            }
        }
    };
    closeFrom(3, static_cast<unsigned>(keep) - 1);
    closeFrom(static_cast<unsigned>(keep) + 1, ~0U);
}

// In the child: stdin from /dev/null, none of the driver's other descriptors (only the report
// pipe, closed by the exec), the user's home folder as its working folder (the driver's own is
// "/" or wherever it was started), default signal mask, then exec. On failure the errno is
// written to reportFd and the child exits.
[[noreturn]] void execChild(const PreparedCommand& prepared, int devNull, int reportFd) {
    if (devNull >= 0) {
        dup2(devNull, STDIN_FILENO);
    }
    closeDescriptorsAbove2Except(reportFd);
    if (prepared.workingFolder.empty() || chdir(prepared.workingFolder.c_str()) != 0) {
        [[maybe_unused]] const int ignored = chdir("/");
    }
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    execv(prepared.argv[0], prepared.argv.data());
    const int error = errno;
    [[maybe_unused]] const auto written = write(reportFd, &error, sizeof error);
    _exit(127);
}

// Reads the exec result from the report pipe: nothing (end of file) means the exec succeeded.
bool readExecResult(int reportFd, std::string& error, const std::string& path) {
    int childErrno = 0;
    ssize_t n = 0;
    do {
        n = read(reportFd, &childErrno, sizeof childErrno);
    } while (n < 0 && errno == EINTR);
    if (n == static_cast<ssize_t>(sizeof childErrno)) {
        error = "cannot run " + path + ": " + std::strerror(childErrno);
        return false;
    }
    return true;
}

// Forks a child that runs the command, with a pipe on which a failed exec reports its errno.
// Detached, the child starts a new session and forks again at once, so the program is adopted
// by init (or the session's subreaper) and never becomes our zombie. Returns the child, or -1
// with error set; reportFd is the pipe's reading end for readExecResult().
pid_t forkCommand(const PreparedCommand& prepared, bool detached, int& reportFd,
                  std::string& error) {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        error = std::string("cannot create a pipe: ") + std::strerror(errno);
        return -1;
    }
    const int devNull = open("/dev/null", O_RDONLY | O_CLOEXEC);
    const pid_t child = fork();
    if (child == 0) {
        close(pipeFds[0]);
        if (!detached) {
            execChild(prepared, devNull, pipeFds[1]);
        }
        setsid();
        const pid_t grandchild = fork();
        if (grandchild == 0) {
            execChild(prepared, devNull, pipeFds[1]);
        }
        if (grandchild < 0) {
            const int forkErrno = errno;
            [[maybe_unused]] const auto written = write(pipeFds[1], &forkErrno, sizeof forkErrno);
        }
        _exit(0);
    }
    const int forkErrno = errno;
    close(pipeFds[1]);
    if (devNull >= 0) {
        close(devNull);
    }
    if (child < 0) {
        close(pipeFds[0]);
        error = std::string("cannot start a process: ") + std::strerror(forkErrno);
        return -1;
    }
    reportFd = pipeFds[0];
    return child;
}

} // namespace

bool startDetached(const ProgramCommand& command, std::string& error) {
    const PreparedCommand prepared(command);
    int reportFd = -1;
    const pid_t child = forkCommand(prepared, true, reportFd, error);
    if (child < 0) {
        return false;
    }
    while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
    const bool ok = readExecResult(reportFd, error, command.path);
    close(reportFd);
    return ok;
}

bool runAndWait(const ProgramCommand& command, int timeoutMs, std::string& error) {
    const PreparedCommand prepared(command);
    int reportFd = -1;
    const pid_t child = forkCommand(prepared, false, reportFd, error);
    if (child < 0) {
        return false;
    }
    const bool executed = readExecResult(reportFd, error, command.path);
    close(reportFd);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    int status = 0;
    for (;;) {
        const pid_t done = waitpid(child, &status, WNOHANG);
        if (done == child) {
            break;
        }
        if (done < 0 && errno != EINTR) {
            error = command.path + ": lost track of the process";
            return false;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            error = command.path + " did not finish in time";
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (!executed) {
        return false;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        error = command.path + " failed";
        return false;
    }
    return true;
}

} // namespace veldran
