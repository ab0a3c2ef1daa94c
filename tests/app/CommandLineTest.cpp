#include "app/CommandLine.h"

#include "platform/PrivateFolder.h"
#include "platform/linux/VirtualMouseSocket.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace veldran {
namespace {

using Action = CommandLine::Action;

TEST(CommandLine, RunsWithoutArgumentsAndWithTheVirtualMouse) {
    EXPECT_EQ(parseCommandLine({}).action, Action::Run);
    EXPECT_FALSE(parseCommandLine({}).virtualMouseSocket.has_value());

    const CommandLine withDefault = parseCommandLine({"--virtual-mouse"});
    EXPECT_EQ(withDefault.action, Action::Run);
    EXPECT_EQ(withDefault.virtualMouseSocket, defaultVirtualMouseSocket());

    const CommandLine withSocket = parseCommandLine({"--virtual-mouse=/tmp/x.sock"});
    EXPECT_EQ(withSocket.virtualMouseSocket, "/tmp/x.sock");
    EXPECT_FALSE(withSocket.startHidden);

    const CommandLine hidden = parseCommandLine({"--hidden", "--virtual-mouse=/tmp/x.sock"});
    EXPECT_EQ(hidden.action, Action::Run);
    EXPECT_TRUE(hidden.startHidden);
    EXPECT_EQ(hidden.virtualMouseSocket, "/tmp/x.sock");
}

TEST(CommandLine, HelpAndVersionWinOverEverythingElse) {
    EXPECT_EQ(parseCommandLine({"--virtual-mouse", "--help"}).action, Action::Help);
    EXPECT_EQ(parseCommandLine({"--version"}).action, Action::Version);
}

TEST(CommandLine, AnythingElseIsAUsageError) {
    EXPECT_EQ(parseCommandLine({"--frobnicate"}).action, Action::Usage);
    EXPECT_EQ(parseCommandLine({"extra"}).action, Action::Usage);
    EXPECT_EQ(parseCommandLine({"--virtual-mouse="}).action, Action::Usage);
}

TEST(CommandLine, RequestsToTheRunningDriverTakeOnlyTheVirtualMouseBeside) {
    EXPECT_EQ(parseCommandLine({"--profile", "3"}).request, "profile 3");
    EXPECT_EQ(parseCommandLine({"--profile=next"}).request, "profile next");
    const CommandLine status = parseCommandLine({"--virtual-mouse=/tmp/x.sock", "--status"});
    EXPECT_EQ(status.action, Action::Request);
    EXPECT_EQ(status.request, "status");
    EXPECT_EQ(status.virtualMouseSocket, "/tmp/x.sock");

    // The driver works in a folder of its own: it is given the file's whole path.
    EXPECT_EQ(parseCommandLine({"--export", "/tmp/a/../set.json"}).request, "export /tmp/set.json");
    EXPECT_EQ(parseCommandLine({"--import=set.json"}).request,
              "import " + (std::filesystem::current_path() / "set.json").string());

    for (const std::vector<std::string>& refused : {std::vector<std::string>{"--profile"},
                                                    {"--export"},
                                                    {"--import="},
                                                    {"--import", "a\nb"},
                                                    {"--export", "x", "--status"},
                                                    {"--profile", "0"},
                                                    {"--profile", "03"},
                                                    {"--profile", "--status"},
                                                    {"--show", "--hide"},
                                                    {"--quit", "--hidden"}}) {
        EXPECT_EQ(parseCommandLine(refused).action, Action::Usage) << refused[0];
    }
}

// Every process of the user meets the driver in one place, whatever its environment says: the
// session manager's folder of the uid when it is the user's, else the user's own under /tmp.
TEST(VirtualMouseSocket, FollowsTheRuntimeFolderOfTheUidAlone) {
    const char* given = std::getenv(kRuntimeFolderVariable);
    const std::string chosen = given ? given : "/tmp";
    const char* old = std::getenv("XDG_RUNTIME_DIR");
    const std::string saved = old ? old : "";
    unsetenv(kRuntimeFolderVariable);
    setenv("XDG_RUNTIME_DIR", "/run/user/4242", 1);
    const std::string withSession = defaultVirtualMouseSocket();
    unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(defaultVirtualMouseSocket(), withSession);
    const std::string session = "/run/user/" + std::to_string(getuid());
    struct stat info {};
    const bool sessionIsTheUsers = lstat(session.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
                                   info.st_uid == getuid() && (info.st_mode & 077) == 0;
    // Never /tmp itself: the user's own folder in it.
    EXPECT_EQ(withSession,
              (sessionIsTheUsers ? session : "/tmp/veldran-" + std::to_string(getuid())) +
                  "/veldran-virtual-mouse.sock");
    setenv(kRuntimeFolderVariable, chosen.c_str(), 1);
    EXPECT_EQ(defaultVirtualMouseSocket(), chosen + "/veldran-virtual-mouse.sock");
    if (old) {
        setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
    }
}

} // namespace
} // namespace veldran
