#include "app/RemoteCommand.h"

#include "app/CQEL_GMouseApp.h"
#include "control/RequestClient.h"
#include "control/RequestLine.h"

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace veldran {
namespace {

using namespace std::chrono_literals;

// A switch answers in milliseconds; a request may wait behind a message box of the driver.
constexpr auto kAnswerTimeout = 10s;
// How long a driver started for --profile may take to find the mouse and apply.
constexpr auto kStartTimeout = 15s;
constexpr auto kStartPoll = 2ms;

void say(const char* text) {
    std::fprintf(stderr, "veldran-driver: %s\n", text);
}

int report(const RequestReply& reply) {
    if (reply.outcome == RequestReply::Outcome::NotRunning) {
        say("no driver is running");
        return 1;
    }
    if (reply.outcome == RequestReply::Outcome::NoAnswer) {
        say("the running driver does not answer");
        return 1;
    }
    const std::string ok = okAnswer();
    if (reply.line == ok) {
        return 0;
    }
    if (reply.line.rfind(ok + ' ', 0) == 0) {
        // The status comes as one line of ';'-separated items, printed one a line.
        std::string text = reply.line.substr(ok.size() + 1);
        for (char& c : text) {
            c = c == ';' ? '\n' : c;
        }
        std::printf("%s\n", text.c_str());
        return 0;
    }
    const std::string error = errorAnswer("");
    say(reply.line.rfind(error, 0) == 0 ? reply.line.c_str() + error.size()
                                        : "the running driver gave an answer it should not");
    return 1;
}

// In the child: a driver of its own session, with no terminal to write to.
void becomeBackgroundDriver(CommandLine& commandLine, int profile) {
    setsid();
    const int null = open("/dev/null", O_RDWR | O_CLOEXEC);
    if (null >= 0) {
        dup2(null, STDIN_FILENO);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        close(null);
    }
    commandLine.action = CommandLine::Action::Run;
    commandLine.startHidden = true;
    commandLine.startProfile = profile;
}

} // namespace

std::optional<int> runRemoteCommand(CommandLine& commandLine) {
    const std::string path =
        CQEL_GMouseApp::instancePath(QStringLiteral("CQEL_GMouseApp")).toStdString();
    const RequestReply reply = sendRequest(path, commandLine.request, kAnswerTimeout);
    const Request request = parseRequestLine(commandLine.request);
    const bool profileRequest =
        request.kind == Request::Kind::Profile || request.kind == Request::Kind::NextProfile;
    if (reply.outcome != RequestReply::Outcome::NotRunning || !profileRequest) {
        return report(reply);
    }

    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0) {
        say("no driver is running and none could be started");
        return 1;
    }
    if (child == 0) {
        becomeBackgroundDriver(commandLine, request.profile);
        return std::nullopt;
    }
    // The started driver answers once its start-up Apply has run; the request then finds the
    // profile applied (or, for next, switches once more).
    const auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
    while (std::chrono::steady_clock::now() < deadline) {
        const bool childEnded = waitpid(child, nullptr, WNOHANG) == child;
        const RequestReply started = sendRequest(path, commandLine.request, kAnswerTimeout);
        if (started.outcome != RequestReply::Outcome::NotRunning) {
            return report(started);
        }
        if (childEnded) {
            say("the driver ended at start: is the mouse connected?");
            return 1;
        }
        std::this_thread::sleep_for(kStartPoll);
    }
    say("the driver started but cannot be reached");
    return 1;
}

} // namespace veldran
