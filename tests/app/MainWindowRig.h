// Everything a main window needs, with fakes for the platform: a tiny skin in a temporary
// folder, a HID bus holding the mouse, recording input, shell and clock, and the real stores,
// device link, protocol and reader on top. Test fixtures of the main window inherit it.
#pragma once

#include "app/CQEL_GMouseApp.h"
#include "app/CQEL_GMouseDlg.h"
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
#include "fakes/FakeKeyboardHook.h"
#include "fakes/FakeShell.h"
#include "fakes/FakeWindowPort.h"
#include "skin/TinySkin.h"

namespace veldran::testing {

struct MainWindowRig {
    MainWindowRig() {
        state.appFolder = skin.appFolder();
        bus.interfaces = fakes::FakeHidBus::mouseInterfaces("/dev/hidraw");
    }

    CQEL_GMouseDlg::Services services() {
        return {app,  state,    model,  macros,     profiles, macroStore,
                link, protocol, reader, controller, &clock,   &keyboardHook};
    }

    TinySkin skin;
    fakes::FakeHidBus bus;
    fakes::FakeInputSynth input;
    fakes::FakeShell shell;
    fakes::FakeClock clock;
    fakes::FakeKeyboardHook keyboardHook;
    fakes::FakeWindowPort port;
    CQEL_GMouseApp app{input};
    MainWindowState state;
    ConfigModel model;
    MacroTable macros;
    ProfileStore profiles{skin.appFolder() / "config.ini"};
    MacroStore macroStore{skin.appFolder() / "Macro.dat"};
    DeviceLink link{bus};
    DeviceProtocol protocol{link, model, profiles, port};
    DeviceEventReader reader{DeviceEventReader::Services{link, protocol, model, macros, profiles,
                                                         input, shell, clock, port}};
    ProfileController controller{model, profiles, protocol, link};
};

} // namespace veldran::testing
