// Starting desktop programs for real: detached, found on PATH, failures reported once.
#include "platform/linux/LinuxShell.h"

#include "platform/linux/DetachedProcess.h"
#include "platform/linux/XTestInputSynth.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

namespace veldran {
namespace {

namespace fs = std::filesystem;

class LinuxShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "veldran-shell-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        const char* path = std::getenv("PATH");
        savedPath_ = path != nullptr ? path : "";
    }
    void TearDown() override {
        setenv("PATH", savedPath_.c_str(), 1);
        fs::remove_all(folder_);
    }
    // A stand-in program that notes its arguments and its session in a file.
    void writeProgram(const std::string& name) {
        const fs::path file = folder_ / name;
        std::ofstream(file) << "#!/bin/sh\necho \"$@\" > \"$0.ran\"\n";
        chmod(file.c_str(), 0755);
    }
    bool waitForFile(const fs::path& path) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < end) {
            std::ifstream in(path);
            std::string line;
            if (std::getline(in, line)) {
                contents_ = line;
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    }
    fs::path folder_;
    std::string savedPath_;
    std::string contents_;
};

TEST_F(LinuxShellTest, StartsTheFirstProgramFoundWithItsArguments) {
    writeProgram("thunar");
    writeProgram("xcalc");
    setenv("PATH", folder_.c_str(), 1);
    LinuxShell shell;
    EXPECT_TRUE(shell.openComputerRoot());
    ASSERT_TRUE(waitForFile(folder_ / "thunar.ran"));
    EXPECT_EQ(contents_, "/");
    EXPECT_TRUE(shell.startCalculator());
    EXPECT_TRUE(waitForFile(folder_ / "xcalc.ran"));
}

TEST_F(LinuxShellTest, MissingProgramsFailAndAreReportedOncePerAction) {
    setenv("PATH", folder_.c_str(), 1); // an empty folder
    LinuxShell shell;
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(shell.startTerminal());
    EXPECT_FALSE(shell.startTerminal());
    EXPECT_FALSE(shell.startCalculator());
    const std::string output = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(output.find("cannot start a terminal"), std::string::npos) << output;
    EXPECT_NE(output.find("cannot start a calculator"), std::string::npos) << output;
    EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 2) << output;
}

TEST_F(LinuxShellTest, DetachedStartReportsAProgramThatCannotRun) {
    const fs::path notExecutable = folder_ / "plain-file";
    std::ofstream(notExecutable) << "text\n";
    std::string error;
    EXPECT_FALSE(startDetached({notExecutable.string(), {}}, error));
    EXPECT_NE(error.find("plain-file"), std::string::npos) << error;

    error.clear();
    EXPECT_TRUE(runAndWait({"/bin/true", {}}, 5000, error)) << error;
    EXPECT_FALSE(runAndWait({"/bin/false", {}}, 5000, error));
}

TEST(XTestInputSynthTest, WithoutADisplayItSaysSoOnceAndDoesNothing) {
    ::testing::internal::CaptureStderr();
    XTestInputSynth input(":987654"); // no such display
    EXPECT_FALSE(input.available());
    EXPECT_EQ(input.scanCode(65), 0);
    input.keyDown(65, 0);
    input.keyUp(65, 0);
    input.mouseButton(MouseButton::Right, true);
    const std::string output = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(output.find("X display"), std::string::npos) << output;
    EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 1) << output;
}

} // namespace
} // namespace veldran
