#include "app/RemoteCommand.h"

#include "app/CQEL_GMouseApp.h"
#include "config/MacroStore.h"
#include "config/ProfileStore.h"
#include "config/SettingsLocation.h"
#include "control/ProfileSetJson.h"
#include "formats/RequestLine.h"
#include "platform/Log.h"
#include "platform/PrivateFolder.h"
#include "platform/linux/OwnProcess.h"
#include "platform/linux/RequestClient.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace veldran {
namespace {

using namespace std::chrono_literals;

// Connecting, sending and the answer together: a switch answers in milliseconds, and the driver
// answers every request at once; a driver that is stopped or flooded is given up on.
constexpr auto kRequestTimeout = 10s;
// How long a driver started for --profile may take to find the mouse and apply.
constexpr auto kStartTimeout = 15s;
constexpr auto kStartPoll = 2ms;

void say(const char* text) {
    logLine(text);
}

RequestReply ask(const std::string& path, const std::string& line) {
    return sendRequest(path, line, std::chrono::steady_clock::now() + kRequestTimeout);
}

int report(const RequestReply& reply, bool asIs) {
    if (reply.outcome == RequestReply::Outcome::Refused) {
        say(reply.line.c_str());
        return 1;
    }
    if (reply.outcome == RequestReply::Outcome::NotRunning) {
        say("no driver is running");
        return 1;
    }
    if (reply.outcome == RequestReply::Outcome::NoAnswer) {
        say("the running driver does not answer");
        return 1;
    }
    // What the driver answers reaches the user's terminal only without control characters.
    const std::string line = printableAnswer(reply.line);
    const std::string ok = okAnswer();
    if (line == ok) {
        return 0;
    }
    if (line.rfind(ok + ' ', 0) == 0) {
        // The status comes as one line of ';'-separated items, printed one a line.
        std::string text = line.substr(ok.size() + 1);
        for (char& c : text) {
            c = c == ';' && !asIs ? '\n' : c;
        }
        std::printf("%s\n", text.c_str());
        return 0;
    }
    const std::string error = errorAnswer("");
    say(line.rfind(error, 0) == 0 ? line.c_str() + error.size()
                                  : "the running driver gave an answer it should not");
    return 1;
}

// The environment variable that hands the profile to a driver started for --profile: read and
// removed at its start, so that the programs it starts never see it.
constexpr const char* kStartProfileVariable = "VELDRAN_START_PROFILE";

// Starts this program again as a hidden driver in a session of its own, with no terminal to
// write to (it outlives this process).
int startBackgroundDriver(const CommandLine& commandLine, int profile) {
    std::vector<std::string> args = {executablePath(), "--hidden"};
    if (commandLine.virtualMouseSocket) {
        args.push_back("--virtual-mouse=" + *commandLine.virtualMouseSocket);
    }
    // This process has one thread and ends soon: its own environment goes to the driver.
    if (profile != 0) {
        setenv(kStartProfileVariable, std::to_string(profile).c_str(), 1);
    } else {
        unsetenv(kStartProfileVariable);
    }
    return startInOwnSession(args);
}

// --export and --import without a running driver: done on the files of the settings folder
// that a driver started now would use (made and filled as its first start would).
int transferWithoutDriver(const Request& request, const std::optional<ProfileSet>& imported) {
    const FileLocations files = locateFiles(CQEL_GMouseApp::appFolder(), VELDRAN_DATA_FROM_BIN,
                                            SettingsEnvironment::ofProcess());
    // An import writes every file itself: it needs the folder, not the defaults.
    std::error_code error;
    if (const std::string problem = prepareSettingsFolder(files);
        !problem.empty() && (request.kind == Request::Kind::Export ||
                             !std::filesystem::is_directory(files.settingsFolder, error))) {
        say(problem.c_str());
        return 1;
    }
    const SettingsFiles settings = SettingsFiles::inFolder(files.settingsFolder);
    std::string problem;
    if (request.kind == Request::Kind::Export) {
        problem = exportProfileSet(settings, request.path);
    } else {
        ProfileStore store(settings.config);
        problem = writeProfileSet(settings, store, MacroStore(settings.macros), *imported);
    }
    if (!problem.empty()) {
        say(problem.c_str());
        return 1;
    }
    return 0;
}

} // namespace

int runRemoteCommand(const CommandLine& commandLine) {
    // The folder the driver would listen in, checked as the driver checks it: one that another
    // user could have planted is neither asked nor used to start a driver.
    const RuntimeFolder folder = runtimeFolder();
    if (!folder.problem.empty()) {
        say(("cannot reach the driver: " + folder.problem).c_str());
        return 1;
    }
    const std::string path = folder.path + '/' + kInstanceName;
    const Request request = parseRequestLine(commandLine.request);
    const bool transfer =
        request.kind == Request::Kind::Export || request.kind == Request::Kind::Import;
    // A file that cannot be imported is refused before anything is asked or changed. (A running
    // driver reads the file again: it may have changed since.)
    ParsedProfileSet imported;
    if (request.kind == Request::Kind::Import) {
        imported = readProfileSetFile(request.path);
        if (!imported.set) {
            say(imported.problem.c_str());
            return 2;
        }
    }
    const RequestReply reply = ask(path, commandLine.request);
    if (transfer && reply.outcome == RequestReply::Outcome::NotRunning) {
        return transferWithoutDriver(request, imported.set);
    }
    const bool profileRequest =
        request.kind == Request::Kind::Profile || request.kind == Request::Kind::NextProfile;
    // The JSON status is printed as it comes; the plain one a line per item.
    const bool asIs = request.kind == Request::Kind::StatusJson;
    if (reply.outcome != RequestReply::Outcome::NotRunning || !profileRequest) {
        return report(reply, asIs);
    }

    const int child = startBackgroundDriver(commandLine, request.profile);
    if (child < 0) {
        say("no driver is running and none could be started");
        return 1;
    }
    // The started driver answers once its start-up Apply has run; the request then finds the
    // profile applied (or, for next, switches once more). One that ends first tells why by its
    // exit status.
    const auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
    while (std::chrono::steady_clock::now() < deadline) {
        const RequestReply started = ask(path, commandLine.request);
        if (started.outcome == RequestReply::Outcome::Answered ||
            started.outcome == RequestReply::Outcome::Refused) {
            return report(started, asIs);
        }
        // Not listening yet, or listening but ending without an answer (no mouse): asked again
        // until it answers or has ended.
        if (const std::optional<int> status = childExitStatus(child)) {
            say(*status == kNoMouseExitStatus ? "no mouse connected"
                                              : "the driver started for this ended: no mouse, or "
                                                "no graphical session");
            return 1;
        }
        std::this_thread::sleep_for(kStartPoll);
    }
    say("the driver started but cannot be reached");
    return 1;
}

int takeStartProfile() {
    const char* value = std::getenv(kStartProfileVariable);
    const Request request = parseRequestLine(std::string("profile ") + (value ? value : ""));
    unsetenv(kStartProfileVariable);
    return request.kind == Request::Kind::Profile ? request.profile : 0;
}

} // namespace veldran
