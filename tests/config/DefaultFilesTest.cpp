// The settings files that ship beside the executable: config.ini holds the factory profile in
// every section and Macro.dat holds sample macros that play back as whole key strokes.
#include "config/FunctionCode.h"
#include "config/MacroStore.h"
#include "config/ProfileStore.h"
#include "platform/ProfileStrings.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace veldran {
namespace {

std::filesystem::path resources() {
    if (const char* source = std::getenv("VELDRAN_SOURCE_DIR")) {
        return std::filesystem::path(source) / "resources";
    }
    return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "resources";
}

TEST(DefaultConfig, EveryProfileHoldsTheFactoryValues) {
    const ProfileStore store(resources() / "config.ini");
    EXPECT_EQ(store.readCurConfig(), 1);
    Profile factory;
    resetToFactory(factory);
    for (int n = 1; n <= kAppliedProfile; ++n) {
        Profile p;
        for (int slot = 1; slot <= kSlotCount; ++slot) {
            p.setCode(slot, -99);
        }
        store.load(n, p);
        for (int slot = 1; slot <= kSlotCount; ++slot) {
            EXPECT_EQ(p.code(slot), slot <= kDeviceSlotCount ? factory.code(slot) : 0)
                << "Config" << n << " slot " << slot;
        }
        EXPECT_EQ(p.dpiLevel.load(), 0);
        EXPECT_EQ(p.wheelMode.load(), 0);
        EXPECT_EQ(p.lightMode.load(), 0);
        for (std::size_t i = 0; i < kStageCount; ++i) {
            EXPECT_EQ(p.stages[i].editedCode.load(), factory.stages[i].editedCode.load());
            EXPECT_EQ(p.stages[i].selectionId.load(), factory.stages[i].selectionId.load());
        }
    }
}

TEST(DefaultConfig, KeysAreInTheOrderThatSaveWrites) {
    const auto original = resources() / "config.ini";
    const auto copy = std::filesystem::temp_directory_path() /
                      ("veldran-default-" + std::to_string(::getpid()) + ".ini");
    std::filesystem::copy_file(original, copy, std::filesystem::copy_options::overwrite_existing);
    Profile p;
    const ProfileStore store(copy);
    for (int n = 1; n <= kAppliedProfile; ++n) {
        store.load(n, p);
        ASSERT_TRUE(store.save(n, p));
    }
    ASSERT_TRUE(store.writeCurConfig(store.readCurConfig()));
    std::ifstream a(original, std::ios::binary), b(copy, std::ios::binary);
    const std::string before((std::istreambuf_iterator<char>(a)), {});
    const std::string after((std::istreambuf_iterator<char>(b)), {});
    std::filesystem::remove(copy);
    EXPECT_EQ(before, after);
}

TEST(DefaultMacros, SamplesAreNamedAndReleaseEveryKeyTheyPress) {
    const MacroStore store(resources() / "Macro.dat");
    MacroTable table;
    table.setCount(store.readCount());
    ASSERT_TRUE(store.read(table.count(), table));
    ASSERT_GE(table.count(), 1);
    for (int i = 0; i < table.count(); ++i) {
        const MacroRecord r = table.snapshot(i);
        EXPECT_FALSE(r.nameUtf8().empty()) << "macro " << i;
        EXPECT_GT(r.eventCount, 0) << "macro " << i;
        EXPECT_LE(r.eventCount, 40) << "macro " << i;
        std::map<int, int> held;
        for (int k = 0; k < r.usableEventCount(); ++k) {
            const MacroEvent e = r.event(k);
            ASSERT_TRUE(e.action == 1 || e.action == 2) << "macro " << i << " event " << k;
            held[e.code] += e.action == 1 ? 1 : -1;
            EXPECT_GE(held[e.code], 0) << "released before pressed: macro " << i;
        }
        for (const auto& [code, count] : held) {
            EXPECT_EQ(count, 0) << "macro " << i << " leaves code " << code << " down";
        }
    }
    EXPECT_EQ(table.snapshot(0).nameUtf8(), "Hello");
}

// The copies that the build puts beside the executable hold what the user records there: they are
// the user's alone, whatever mode the repository's files have.
TEST(DefaultFiles, TheBuildsCopiesAreTheUsersAlone) {
    const char* bin = std::getenv("VELDRAN_BIN_DIR");
    ASSERT_NE(bin, nullptr);
    for (const char* name : {"config.ini", "Macro.dat"}) {
        struct stat info {};
        ASSERT_EQ(::stat((std::filesystem::path(bin) / name).c_str(), &info), 0) << name;
        EXPECT_EQ(info.st_mode & 07777, 0600u) << name;
    }
}

} // namespace
} // namespace veldran
