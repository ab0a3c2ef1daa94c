// The command line's side of the request socket against listeners that must not be believed or
// waited for: another user's, and one whose backlog is full because it never accepts.
#include "platform/linux/RequestClient.h"

#include "platform/TempFolder.h"
#include "platform/linux/RequestListener.h"

#include <chrono>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace veldran {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

int listenAt(const std::string& path, int backlog) {
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(fd, backlog) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

// A driver that is stopped (or flooded) never accepts: connecting, sending and waiting share one
// deadline, and its passing is "no answer", never "not running" (which would start a second
// driver).
TEST(RequestClient, GivesUpOnAListenerThatNeverAcceptsByTheDeadline) {
    test::TempFolder folder;
    const std::string path = folder / "CQEL_GMouseApp";
    const int listener = listenAt(path, 0);
    ASSERT_GE(listener, 0);
    std::vector<int> waiting; // fill the backlog
    for (int i = 0; i < 4; ++i) {
        const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        path.copy(address.sun_path, sizeof address.sun_path - 1);
        connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
        waiting.push_back(fd);
    }
    const auto start = Clock::now();
    const RequestReply reply = sendRequest(path, "status", start + 300ms);
    const auto took = Clock::now() - start;
    EXPECT_EQ(reply.outcome, RequestReply::Outcome::NoAnswer);
    EXPECT_GE(took, 290ms);
    EXPECT_LT(took, 2s);
    EXPECT_EQ(sendRequest(folder / "nobody", "status", Clock::now() + 300ms).outcome,
              RequestReply::Outcome::NotRunning);
    for (const int fd : waiting) {
        close(fd);
    }
    close(listener);
}

// Another user's listener in the socket's place gets no request and is not believed.
TEST(RequestClient, RefusesAListenerOfAnotherUser) {
    if (getuid() != 0) {
        GTEST_SKIP() << "needs root to listen as another user";
    }
    test::TempFolder folder;
    ASSERT_EQ(chmod(folder.path().c_str(), 01777), 0);
    const std::string path = folder / "CQEL_GMouseApp";
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t other = fork();
    if (other == 0) {
        close(ready[0]);
        if (setresgid(65534, 65534, 65534) != 0 || setresuid(65534, 65534, 65534) != 0) {
            _exit(1);
        }
        const int listener = listenAt(path, 4);
        [[maybe_unused]] const auto told = write(ready[1], "x", 1);
        const int client = accept(listener, nullptr, nullptr);
        char line[64] = {};
        const bool heard = read(client, line, sizeof line) > 0;
        [[maybe_unused]] const auto answered = write(client, "ok \x1b]0;owned\x07\n", 14);
        _exit(heard ? 3 : 0);
    }
    close(ready[1]);
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    close(ready[0]);
    const RequestReply reply = sendRequest(path, "profile 3", Clock::now() + 2s);
    EXPECT_EQ(reply.outcome, RequestReply::Outcome::Refused);
    EXPECT_EQ(reply.line,
              "refusing the driver at " + path + ": it runs as uid 65534, not this user");
    int status = 0;
    waitpid(other, &status, 0);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the other user's listener heard the request";
}

// A flood of connections that uses up the descriptors never ends the listening: the newest one
// is dropped, and once descriptors are free the next client is taken.
TEST(RequestListener, KeepsListeningWhenDescriptorsRunOut) {
    test::TempFolder folder;
    const std::string path = folder / "CQEL_GMouseApp";
    RequestListener listener;
    ASSERT_EQ(listener.listen(path), "");
    const int client = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
    rlimit low = saved;
    low.rlim_cur = 256;
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &low), 0);
    std::vector<int> held;
    for (int fd = dup(0); fd >= 0; fd = dup(0)) {
        held.push_back(fd); // every descriptor of the process taken
    }
    const int first = held.back();
    held.pop_back();
    close(first); // one free for the client's own socket
    const int flood = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ASSERT_GE(flood, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(connect(flood, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    EXPECT_EQ(listener.accept(), -1); // no descriptor left: dropped
    char byte = 0;
    EXPECT_EQ(read(flood, &byte, 1), 0) << "the dropped connection sees its end";
    close(flood);
    for (const int fd : held) {
        close(fd);
    }
    setrlimit(RLIMIT_NOFILE, &saved);
    ASSERT_EQ(connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const int accepted = listener.accept();
    EXPECT_GE(accepted, 0);
    close(accepted);
    close(client);
}

} // namespace
} // namespace veldran
