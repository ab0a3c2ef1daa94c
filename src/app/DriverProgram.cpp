#include "app/DriverProgram.h"

#include "app/CQEL_GMouseApp.h"
#include "app/CQEL_GMouseDlg.h"
#include "app/QtWindowPort.h"
#include "config/MacroStore.h"
#include "config/MacroTable.h"
#include "config/Profile.h"
#include "config/ProfileStore.h"
#include "device/DeviceEventReader.h"
#include "device/DeviceLink.h"
#include "device/DeviceProtocol.h"
#include "platform/Clock.h"
#include "platform/linux/DesktopInputSynth.h"
#include "platform/linux/HidrawBus.h"
#include "platform/linux/LinuxShell.h"
#include "platform/linux/VirtualHidBus.h"
#include "platform/linux/X11RecordKeyboardHook.h"
#include "skin/MainWindowState.h"

#include <QCoreApplication>
#include <QSocketNotifier>

namespace veldran {

namespace {

std::unique_ptr<HidBus> makeBus(const CommandLine& commandLine) {
    if (commandLine.virtualMouseSocket) {
        return std::make_unique<VirtualHidBus>(*commandLine.virtualMouseSocket);
    }
    return std::make_unique<HidrawBus>();
}

} // namespace

// Members are declared in the order they are built; destruction runs in reverse, so the reader
// stops before the link, the stores and the model it uses go away.
struct DriverProgram::Parts {
    Parts(const CommandLine& commandLine, CQEL_GMouseApp& application)
        : input(makeDesktopInputSynth()), bus(makeBus(commandLine)), app(application), window(app),
          link(*bus), profiles(state.configPath), macroStore(state.macroPath),
          protocol(link, model, profiles, window),
          reader({link, protocol, model, macros, profiles, *input, shell, clock, window}) {
        app.setInputSynth(*input);
    }

    static MainWindowState initialState() {
        MainWindowState s;
        s.appFolder = CQEL_GMouseApp::appFolder();
        s.skinFolder = s.appFolder / "skins";
        s.configPath = s.appFolder / "config.ini";
        s.macroPath = s.appFolder / "Macro.dat";
        return s;
    }

    MainWindowState state = initialState();
    std::unique_ptr<InputSynth> input; // XTest, or uinput on Wayland where it is writable
    LinuxShell shell;
    SystemClock clock;
    std::unique_ptr<HidBus> bus;
    CQEL_GMouseApp& app; // claimed the single instance before any of these existed
    QtWindowPort window;
    ConfigModel model;
    MacroTable macros;
    DeviceLink link;
    ProfileStore profiles;
    MacroStore macroStore;
    DeviceProtocol protocol;
    DeviceEventReader reader;
    // Built before the window, so that the window's end removes a running capture first.
    X11RecordKeyboardHook keyboardHook;
    std::unique_ptr<CQEL_GMouseDlg> dialog;
    std::unique_ptr<QSocketNotifier> deviceNotices;
};

DriverProgram::DriverProgram(const CommandLine& commandLine) : commandLine_(commandLine) {}

DriverProgram::~DriverProgram() {
    if (parts_) {
        // Work the reader waits for on the user-interface thread is dropped, then it is joined.
        parts_->window.shutdown();
        parts_->link.cancelReads();
        parts_->reader.stop();
    }
}

int DriverProgram::run() {
    // A second start only asks the first instance to show its window: it ends before it opens a
    // HID interface, connects to a virtual mouse or creates an input device.
    app_ = std::make_unique<CQEL_GMouseApp>();
    if (!app_->claimSingleInstance()) {
        return 0;
    }
    parts_ = std::make_unique<Parts>(commandLine_, *app_);
    Parts& p = *parts_;

    p.dialog = std::make_unique<CQEL_GMouseDlg>(
        CQEL_GMouseDlg::Services{p.app, p.state, p.model, p.macros, p.profiles, p.macroStore,
                                 p.link, p.protocol, p.reader, &p.clock, &p.keyboardHook});
    CQEL_GMouseDlg& dialog = *p.dialog;
    p.app.setMainWindow(&dialog);
    p.window.setRepaintTarget([&dialog] { dialog.repaintWindow(); });

    // Arrival and removal of HID interfaces, delivered on the event loop.
    if (const int fd = p.bus->noticeDescriptor(); fd >= 0) {
        p.deviceNotices = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        QObject::connect(p.deviceNotices.get(), &QSocketNotifier::activated, [&p] {
            for (const HidNotice& notice : p.bus->takeNotices()) {
                if (p.app.mainWindowDestroyed()) {
                    return;
                }
                if (p.link.onDeviceChange(notice) == DeviceLink::NoticeResult::Removed) {
                    p.app.removeTrayIcon();
                    p.app.destroyMainWindow();
                }
            }
        });
    }

    dialog.initialise();
    if (!p.app.endPending()) {
        dialog.show();
    }
    return QCoreApplication::exec();
}

} // namespace veldran
