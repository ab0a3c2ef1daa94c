// AppFolder from the executable's path: the folder up to the last separator, and "/" itself for
// an executable directly in the root folder (its skin is then /skins, never one relative to the
// working directory).
#include "app/CQEL_GMouseApp.h"

#include <gtest/gtest.h>

namespace veldran {
namespace {

TEST(AppFolder, IsTheExecutablesFolderAndTheRootForOneInTheRoot) {
    EXPECT_EQ(CQEL_GMouseApp::folderOfExecutable("/opt/veldran/bin/veldran-driver"),
              std::filesystem::path("/opt/veldran/bin"));
    EXPECT_EQ(CQEL_GMouseApp::folderOfExecutable("/veldran-driver"), std::filesystem::path("/"));
    EXPECT_EQ(CQEL_GMouseApp::folderOfExecutable("/veldran-driver") / "skins",
              std::filesystem::path("/skins"));
    EXPECT_EQ(CQEL_GMouseApp::folderOfExecutable("/a b/x"), std::filesystem::path("/a b"));
    EXPECT_TRUE(CQEL_GMouseApp::folderOfExecutable("veldran-driver").empty());
}

TEST(AppFolder, OfTheRunningTestIsWhereItsBinaryLies) {
    const std::filesystem::path folder = CQEL_GMouseApp::appFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(folder.is_absolute());
    EXPECT_TRUE(std::filesystem::is_directory(folder));
}

} // namespace
} // namespace veldran
