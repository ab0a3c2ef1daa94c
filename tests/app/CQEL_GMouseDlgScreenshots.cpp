// Screenshots of the three pages: the real main window with the default skin, the default
// settings files and a fake HID bus holding the mouse, under an X server. Runs only when
// VELDRAN_SCREENSHOT_DIR names the folder for main.png, advanced.png, color.png and
// macro-repeat.png, for example
// (one line): VELDRAN_XVFB_SCREEN=800x600x24 VELDRAN_SCREENSHOT_DIR=$PWD/docs/screenshots
// VELDRAN_BIN_DIR=$PWD/build/default/bin VELDRAN_SOURCE_DIR=$PWD scripts/with-xvfb
// build/default/bin/ui_tests --gtest_filter='MainWindowScreenshots.*'
#include "app/CQEL_GMouseApp.h"
#include "app/CQEL_GMouseDlg.h"
#include "app/MainWindowInput.h"
#include "app/MainWindowState.h"
#include "config/MacroStore.h"
#include "config/MacroTable.h"
#include "config/Profile.h"
#include "config/ProfileStore.h"
#include "control/ProfileController.h"
#include "device/DeviceEventReader.h"
#include "device/DeviceLink.h"
#include "device/DeviceProtocol.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeHidBus.h"
#include "fakes/FakeInputSynth.h"
#include "fakes/FakeShell.h"
#include "fakes/FakeWindowPort.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>
#include <gtest/gtest.h>

namespace veldran {
namespace {

TEST(MainWindowScreenshots, EachPageUnderX) {
    const char* out = std::getenv("VELDRAN_SCREENSHOT_DIR");
    const char* bin = std::getenv("VELDRAN_BIN_DIR");
    const char* source = std::getenv("VELDRAN_SOURCE_DIR");
    if (out == nullptr || bin == nullptr || source == nullptr ||
        QGuiApplication::platformName() != QLatin1String("xcb")) {
        GTEST_SKIP() << "screenshots are taken only on request, under X";
    }
    QTemporaryDir dir;
    const std::filesystem::path app = dir.path().toStdString();
    std::filesystem::create_directory_symlink(std::filesystem::absolute(bin) / "skins",
                                              app / "skins");
    for (const char* name : {"config.ini", "Macro.dat"}) {
        std::filesystem::copy_file(std::filesystem::path(source) / "resources" / name, app / name);
    }
    fakes::FakeHidBus bus;
    bus.interfaces = fakes::FakeHidBus::mouseInterfaces("/dev/hidraw");
    fakes::FakeInputSynth input;
    fakes::FakeShell shell;
    fakes::FakeClock clock;
    fakes::FakeWindowPort port;
    CQEL_GMouseApp application(input);
    MainWindowState state;
    state.appFolder = app;
    ConfigModel model;
    MacroTable macros;
    ProfileStore profiles(app / "config.ini");
    MacroStore macroStore(app / "Macro.dat");
    DeviceLink link(bus);
    DeviceProtocol protocol(link, model, profiles, port);
    DeviceEventReader reader(DeviceEventReader::Services{link, protocol, model, macros, profiles,
                                                         input, shell, clock, port});
    ProfileController controller(model, profiles, protocol, link);
    CQEL_GMouseDlg window(CQEL_GMouseDlg::Services{application, state, model, macros, profiles,
                                                   macroStore, link, protocol, reader, controller,
                                                   &clock, nullptr});
    ASSERT_TRUE(window.initialise());
    window.move(0, 0);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::qWait(200); // the start-up Apply
    const struct {
        SkinPage page;
        const char* file;
    } shots[] = {{SkinPage::Main, "main.png"},
                 {SkinPage::Advanced, "advanced.png"},
                 {SkinPage::Color, "color.png"}};
    for (const auto& shot : shots) {
        state.pointer.page = shot.page;
        // The advanced page with its controls, as entering it shows them: the selected macro's
        // events and pauses.
        if (shot.page == SkinPage::Advanced) {
            window.input().createMacroControls();
            window.input().selectMacro(state.macroEditor.selectedMacro);
        } else {
            window.input().destroyMacroControls();
        }
        window.repaintWindow();
        QTest::qWait(200);
        const std::string command = "import -window root -crop 800x600+0+0 '" +
                                    (std::filesystem::path(out) / shot.file).string() + "'";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    // The repeat control of the selected macro set to five passes, the pointer on Loop.
    state.pointer.page = SkinPage::Advanced;
    window.input().createMacroControls();
    window.input().selectMacro(state.macroEditor.selectedMacro);
    macros.setRepeat(state.macroEditor.selectedMacro, 5);
    MacroRepeatControl& repeat = window.input().repeatControl();
    const QRect loop = repeat.geometry();
    QTest::mouseMove(&repeat, QPoint(loop.width() - 20, 34));
    window.repaintWindow();
    QTest::qWait(200);
    const std::string command = "import -window root -crop 800x600+0+0 '" +
                                (std::filesystem::path(out) / "macro-repeat.png").string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

} // namespace
} // namespace veldran
