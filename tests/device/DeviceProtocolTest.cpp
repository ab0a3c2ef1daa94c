#include "device/DeviceProtocol.h"

#include "config/ConfigMessages.h"
#include "config/FunctionCode.h"
#include "config/ProfileStore.h"
#include "device/DeviceLink.h"
#include "fakes/FakeHidBus.h"
#include "fakes/FakeWindowPort.h"
#include "platform/TempFolder.h"

#include <gtest/gtest.h>
#include <set>
#include <thread>

namespace veldran {
namespace {

using fakes::FakeHidBus;
using Head = std::array<std::uint8_t, 4>;

// A mouse on a fake bus, the factory profile as the working profile and config.ini in a private
// folder.
struct Rig {
    explicit Rig(bool writable = true, const std::filesystem::path& config = {})
        : store(config.empty() ? folder / "config.ini" : config) {
        bus.interfaces = FakeHidBus::mouseInterfaces("/dev/hidraw");
        if (!writable) {
            bus.failingOpens = {"/dev/hidraw2"};
        }
        link.discover();
        resetToFactory(model.profile);
        model.runtime.curConfig = 1;
    }

    std::vector<Head> heads() const {
        std::vector<Head> out;
        for (const auto& report : bus.sent()) {
            EXPECT_EQ(report.bytes.size(), 8u); // zero-filled to the feature report length
            EXPECT_TRUE(std::all_of(report.bytes.begin() + 4, report.bytes.end(),
                                    [](std::uint8_t b) { return b == 0; }));
            out.push_back({report.bytes[0], report.bytes[1], report.bytes[2], report.bytes[3]});
        }
        return out;
    }

    test::TempFolder folder;
    FakeHidBus bus;
    DeviceLink link{bus};
    ConfigModel model;
    ProfileStore store;
    fakes::FakeWindowPort window;
    DeviceProtocol protocol{link, model, store, window};
};

TEST(DeviceProtocolApply, FactoryProfileSendsNineReportsInOrder) {
    Rig rig;
    rig.protocol.apply();
    const std::vector<Head> expected = {{7, 0x10, 1, 1}, {7, 0x10, 2, 2}, {7, 0x10, 3, 3},
                                        {7, 0x10, 5, 5}, {7, 0x10, 4, 4}, {7, 0x10, 6, 0x1F},
                                        {7, 0x10, 9, 9}, {7, 0x11, 0, 0}, {7, 0x09, 0, 0x90}};
    EXPECT_EQ(rig.heads(), expected);
    EXPECT_FALSE(rig.model.runtime.armed); // slot 6 cycles the DPI stage in software
    EXPECT_EQ(rig.model.runtime.firstSoftwareSlot, 6);
    EXPECT_EQ(rig.window.repaints(), 1);
    EXPECT_TRUE(rig.window.messages().empty());

    // config.ini now holds CurConfig and the applied profile.
    EXPECT_EQ(rig.store.readCurConfig(), 1);
    Profile applied;
    rig.store.load(kAppliedProfile, applied);
    EXPECT_EQ(applied.code(6), 6);
    EXPECT_EQ(applied.code(7), 13);
}

TEST(DeviceProtocolApply, WheelDpiLevelAndCodesInForce) {
    Rig rig;
    Profile& p = rig.model.profile;
    p.wheelMode = 1;
    p.dpiLevel = 3;
    p.stages[3].editedCode = 0;
    p.stages[1].editedCode = 256 + 3; // only the low 8 bits are kept in force
    p.lightMode = 2;
    rig.protocol.apply();
    const auto heads = rig.heads();
    ASSERT_EQ(heads.size(), 9u);
    EXPECT_EQ(heads[7], (Head{7, 0x11, 1, 0}));
    EXPECT_EQ(heads[8], (Head{7, 0x09, 3, 0x82}));
    EXPECT_EQ(p.stages[1].codeInForce, 3);

    // A DPI code edited but not applied changes nothing on the mouse.
    p.stages[3].editedCode = 2;
    rig.bus.clearSent();
    rig.protocol.sendDpiStep(3);
    EXPECT_EQ(rig.heads(), std::vector<Head>{(Head{7, 0x09, 3, 0x82})});
    EXPECT_EQ(rig.window.repaints(), 2);
}

TEST(DeviceProtocolApply, CodesWithoutDeviceValueAndCode19) {
    Rig rig;
    rig.model.profile.setCode(2, 19); // sent as 12, with its message
    rig.model.profile.setCode(3, 8);  // a submenu caption: no report for this button
    rig.model.profile.setCode(4, -5);
    rig.model.profile.setCode(6, 2); // no software slot any more
    rig.protocol.apply();
    const std::vector<Head> expected = {{7, 0x10, 1, 1},   {7, 0x10, 2, 8}, {7, 0x10, 4, 4},
                                        {7, 0x10, 6, 2},   {7, 0x10, 9, 9}, {7, 0x11, 0, 0},
                                        {7, 0x09, 0, 0x90}};
    EXPECT_EQ(rig.heads(), expected);
    EXPECT_EQ(rig.model.profile.code(2), 12);
    EXPECT_EQ(rig.window.messages(), std::vector<std::string>{kCode19Message});
    EXPECT_TRUE(rig.model.runtime.armed);
}

TEST(DeviceProtocolApply, WithoutWriteHandleStateAndFilesChangeAllTheSame) {
    Rig with;
    Rig without(false);
    for (Rig* rig : {&with, &without}) {
        rig->model.profile.setCode(3, 31);
        rig->model.profile.dpiLevel = 2;
        rig->model.profile.stages[2].editedCode = 0;
        rig->protocol.apply();
    }
    EXPECT_EQ(with.bus.sent().size(), 9u);
    EXPECT_TRUE(without.bus.sent().empty());
    EXPECT_EQ(test::readText(with.store.path()), test::readText(without.store.path()));
    EXPECT_EQ(without.model.runtime.armed, with.model.runtime.armed);
    EXPECT_EQ(without.model.runtime.firstSoftwareSlot, 3);
    for (std::size_t i = 0; i < kDeviceSlotCount; ++i) {
        EXPECT_EQ(without.model.profile.dpiActions[i], with.model.profile.dpiActions[i]);
    }
    EXPECT_EQ(without.model.profile.stages[2].codeInForce, 0);
    EXPECT_EQ(without.window.repaints(), 1);
}

TEST(DeviceProtocolApply, AFailedSaveIsToldButTheReportsStillGo) {
    test::TempFolder folder;
    const auto config = folder / "missing-folder" / "config.ini";
    Rig rig(true, config);
    rig.protocol.apply();
    EXPECT_EQ(rig.bus.sent().size(), 9u);
    EXPECT_EQ(rig.window.messages(), std::vector<std::string>{profileSaveFailedMessage(config)});
}

TEST(DeviceProtocolDefaults, ResetsTheMouseAndLeavesConfigIniUntouched) {
    Rig rig;
    rig.protocol.apply();
    const std::string before = test::readText(rig.store.path());
    Profile& p = rig.model.profile;
    p.setCode(1, 33);
    p.setCode(9, 40);
    p.dpiLevel = 2;
    p.wheelMode = 1;
    p.lightMode = 3;
    p.stages[0].codeInForce = 3;
    rig.bus.clearSent();

    rig.protocol.defaults();
    EXPECT_EQ(rig.heads(), (std::vector<Head>{{7, 0x09, 0, 0x90}, {7, 0x20, 0, 0}}));
    EXPECT_EQ(test::readText(rig.store.path()), before);
    EXPECT_EQ(p.code(1), 1);
    EXPECT_EQ(p.code(9), 40); // slots the mouse does not have are not reset
    EXPECT_EQ(p.dpiLevel, 0);
    EXPECT_EQ(rig.window.repaints(), 2);
}

TEST(DeviceProtocolDpiStep, OutOfRangeLevelsAreHeldToTheStages) {
    Rig rig;
    copyProfile(rig.model.profile, rig.model.applied); // the factory profile on the mouse
    rig.protocol.sendDpiStep(7);
    rig.protocol.sendDpiStep(-2);
    EXPECT_EQ(rig.heads(), (std::vector<Head>{{7, 0x09, 3, 0x80}, {7, 0x09, 0, 0x90}}));
}

TEST(DeviceProtocolThreads, ReportsFromTwoThreadsKeepTheirOwnBytes) {
    Rig rig;
    rig.protocol.apply();
    const std::vector<Head> applied = rig.heads();
    std::set<Head> allowed(applied.begin(), applied.end());
    // The DPI reports of the factory stages (codes 1, 2, 3, 0).
    allowed.insert({{7, 0x09, 1, 0xA0}, {7, 0x09, 2, 0xB0}, {7, 0x09, 3, 0x80}});
    rig.bus.clearSent();

    std::thread reader([&] {
        for (int i = 0; i < 200; ++i) {
            rig.protocol.sendDpiStep(i % 4);
        }
    });
    for (int i = 0; i < 30; ++i) {
        rig.protocol.apply();
    }
    reader.join();
    const auto heads = rig.heads();
    EXPECT_EQ(heads.size(), 30u * 9u + 200u);
    for (const Head& h : heads) {
        EXPECT_EQ(allowed.count(h), 1u);
    }
}

} // namespace
} // namespace veldran
