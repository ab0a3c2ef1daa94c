#include "app/DriverProgram.h"

#include "app/CQEL_GMouseApp.h"
#include "app/CQEL_GMouseDlg.h"
#include "app/MainWindowInput.h"
#include "app/MainWindowState.h"
#include "app/ProgramProfiles.h"
#include "app/QtWindowPort.h"
#include "app/Translations.h"
#include "app/TrayController.h"
#include "config/FunctionCode.h"
#include "config/MacroStore.h"
#include "config/MacroTable.h"
#include "config/Profile.h"
#include "config/ProfileStore.h"
#include "config/SettingsLocation.h"
#include "config/ValueBounds.h"
#include "control/DriverBusService.h"
#include "control/ProfileController.h"
#include "control/ProfileSetJson.h"
#include "control/RemoteRequests.h"
#include "control/RequestServer.h"
#include "device/DeviceEventReader.h"
#include "device/DeviceLink.h"
#include "device/DeviceProtocol.h"
#include "macro/CQelMenu.h"
#include "platform/Clock.h"
#include "platform/Log.h"
#include "platform/ProfileStrings.h"
#include "platform/linux/DesktopInputSynth.h"
#include "platform/linux/HidrawBus.h"
#include "platform/linux/KWinFocusScript.h"
#include "platform/linux/LinuxShell.h"
#include "platform/linux/OwnProcess.h"
#include "platform/linux/TerminationSignals.h"
#include "platform/linux/VirtualHidBus.h"
#include "platform/linux/X11RecordKeyboardHook.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <cstdio>

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
          reader({link, protocol, model, macros, profiles, *input, shell, clock, window}),
          controller(model, profiles, protocol, link) {
        app.setInputSynth(*input);
        reader.setProfileCycle([this](int slot) { (void)controller.cycleFromButton(slot); });
    }

    // The skin from the build or installed data folder; the settings beside the executable or
    // in the user's configuration folder.
    static MainWindowState initialState(const FileLocations& files) {
        MainWindowState s;
        s.appFolder = CQEL_GMouseApp::appFolder();
        s.skinFolder = files.skinFolder();
        s.configPath = files.configPath();
        s.macroPath = files.macroPath();
        return s;
    }

    FileLocations files = locateFiles(CQEL_GMouseApp::appFolder(), VELDRAN_DATA_FROM_BIN,
                                      SettingsEnvironment::ofProcess());
    MainWindowState state = initialState(files);
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
    // Every profile switch goes through it: the window, the next-profile button, the command
    // line, D-Bus, the program rules.
    ProfileController controller;
    // Built before the window, so that the window's end removes a running capture first.
    X11RecordKeyboardHook keyboardHook;
    std::unique_ptr<CQEL_GMouseDlg> dialog;
    std::unique_ptr<QSocketNotifier> deviceNotices;
    // The request lines of the single-instance socket (the command line's requests).
    std::unique_ptr<RemoteRequests> remote;
    std::unique_ptr<RequestServer> requests;
    // org.veldran.Driver on the session bus.
    std::unique_ptr<DriverBusService> busService;
    // The rules for the program in front and the switch notifications; they go first.
    std::unique_ptr<ProgramProfiles> programProfiles;
    // SIGTERM and SIGINT end the driver through the event loop.
    std::unique_ptr<TerminationSignals> terminationSignals;
};

DriverProgram::DriverProgram(const CommandLine& commandLine) : commandLine_(commandLine) {}

DriverProgram::~DriverProgram() {
    if (parts_) {
        parts_->reader.macroPlayer().setPlayingListener({});
        // Work the reader waits for on the user-interface thread is dropped, then it is joined;
        // the macros still playing stop and release what they hold.
        parts_->window.shutdown();
        parts_->link.cancelReads();
        parts_->reader.stop();
    }
}

int DriverProgram::run() {
    // A second start only asks the first instance to show its window: it ends before it opens a
    // HID interface, connects to a virtual mouse or creates an input device.
    // A flood of idle connections to the request socket meets the hard limit, not the soft one.
    raiseOpenFileLimit();
    app_ = std::make_unique<CQEL_GMouseApp>();
    if (!app_->claimSingleInstance()) {
        return app_->runningInstanceReached() ? 0 : 1;
    }
    parts_ = std::make_unique<Parts>(commandLine_, *app_);
    Parts& p = *parts_;
    // Only the single instance touches the settings folder: it is made and filled on the first
    // start, and what a killed write left there goes.
    if (!p.files.besideExecutableRefused.empty()) {
        logLine("settings beside the executable not used (" + p.files.besideExecutableRefused +
                "): using " + p.files.settingsFolder.string());
    }
    if (const std::string problem = prepareSettingsFolder(p.files); !problem.empty()) {
        logLine(problem);
    }
    ProfileStrings::removeStaleTemporaries(p.state.configPath);
    ProfileStrings::removeStaleTemporaries(p.state.macroPath);
    installTranslations(p.files.trustedDataFolder);

    p.dialog = std::make_unique<CQEL_GMouseDlg>(CQEL_GMouseDlg::Services{
        p.app, p.state, p.model, p.macros, p.profiles, p.macroStore, p.link, p.protocol, p.reader,
        p.controller, &p.clock, &p.keyboardHook});
    CQEL_GMouseDlg& dialog = *p.dialog;
    p.app.setMainWindow(&dialog);
    MacroPlayer& player = p.reader.macroPlayer();
    // Whenever the program is about to end, the keys the macros hold go up first.
    p.app.setHeldInputRelease([&player] { player.stopAll(); });
    p.terminationSignals =
        std::make_unique<TerminationSignals>([&p] { p.app.destroyMainWindow(); });
    // A profile switch, whatever its cause, ends the macros that loop.
    p.controller.addSwitchListener([&player](int, SwitchCause) { player.stopLoops(); });
    p.window.setRepaintTarget([&dialog] { dialog.repaintWindow(); });
    CQEL_GMouseDlg::InitHooks hooks;
    if (commandLine_.startHidden) {
        // Nobody asked for the window: a start without the mouse just ends, saying why.
        hooks.mouseMissing = [] { logLine("no VELDRAN GAMING MOUSE is connected; ending"); };
        hooks.showWindow = [&dialog] { dialog.input().hideToTray(); };
    } else {
        hooks.showWindow = [&dialog] { dialog.show(); };
    }
    dialog.setInitHooks(std::move(hooks));

    // Arrival and removal of HID interfaces, delivered on the event loop.
    if (const int fd = p.bus->noticeDescriptor(); fd >= 0) {
        p.deviceNotices = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        QObject::connect(p.deviceNotices.get(), &QSocketNotifier::activated, [&p] {
            for (const HidNotice& notice : p.bus->takeNotices()) {
                if (p.app.mainWindowDestroyed()) {
                    return;
                }
                const DeviceLink::NoticeResult result = p.link.onDeviceChange(notice);
                if (p.busService) {
                    p.busService->refreshProperties();
                }
                if (result == DeviceLink::NoticeResult::Removed) {
                    p.app.removeTrayIcon();
                    p.app.destroyMainWindow();
                }
            }
        });
    }

    // The request socket and the session bus see and drive the window alike.
    DriverWindow door;
    door.connected = [&p] { return p.link.connected(); };
    door.recording = [&p] { return p.state.macroEditor.recording; };
    door.show = [&p] { p.app.showMainWindow(); };
    door.hide = [&p, &dialog] {
        if (!p.app.mainWindowDestroyed()) {
            dialog.input().hideToTray();
        }
    };
    door.quit = [&p, &dialog] {
        if (!p.app.mainWindowDestroyed()) {
            dialog.input().tray().onCommand(kCmdExitDriver);
        }
    };
    door.playing = [&player] { return player.playing(); };
    door.stopMacros = [&player] { player.stopAll(); };
    door.focusSource = [&p] {
        return p.programProfiles ? p.programProfiles->focusSource() : std::string("none");
    };
    door.functionName = [&p](int code) {
        if (code >= kFirstMacroCode && isValidMacroIndex(code - kFirstMacroCode) &&
            code - kFirstMacroCode < p.macros.count()) {
            return p.macros.snapshot(code - kFirstMacroCode).nameUtf8();
        }
        return code >= 0 && code < kFunctionNameCount
                   ? p.state.skin.functionNames[static_cast<std::size_t>(code)].toStdString()
                   : std::string();
    };
    const SettingsFiles settingsFiles = SettingsFiles::inFolder(p.files.settingsFolder);
    auto exportSet = [settingsFiles](const std::string& file) {
        return exportProfileSet(settingsFiles, file);
    };
    auto importSet = [this](const std::string& file) { return importProfileSet(file); };
    p.remote = std::make_unique<RemoteRequests>(
        RemoteRequests::Services{p.controller, p.model, door, exportSet, importSet});
    p.requests = std::make_unique<RequestServer>(
        [&p](const Request& request) { return p.remote->run(request); });
    p.app.setClientHandler([&p](QLocalSocket* socket) { p.requests->serve(socket); });
    p.busService = std::make_unique<DriverBusService>(p.controller, door);
    p.busService->setWindowReports([&p](const QString& appId, const QString& wmClass, uint pid) {
        return p.programProfiles &&
               p.programProfiles->report(appId.toStdString(), wmClass.toStdString(), pid);
    });
    dialog.input().setRecordingListener([&p] { p.busService->refreshProperties(); });
    // The player tells of a change on its own threads; the tray item and the bus property
    // follow on this thread.
    TrayController& tray = dialog.input().tray();
    tray.setStopMacrosCommand([&player] { player.stopAll(); });
    player.setPlayingListener([&p, &tray, &player] {
        QMetaObject::invokeMethod(
            &p.app,
            [&p, &tray, &player] {
                tray.setMacrosPlaying(player.playing());
                p.busService->refreshProperties();
            },
            Qt::QueuedConnection);
    });
    // Started for --profile N: the start-up Apply applies that profile, once the mouse is found.
    p.controller.setStartProfile(commandLine_.startProfile);

    dialog.initialise();
    const bool mouseMissing = !p.state.connected;
    if (!p.app.endPending()) {
        p.busService->publish();
        p.programProfiles = std::make_unique<ProgramProfiles>(
            p.controller, p.files.settingsFolder / kProgramsFileName,
            p.files.dataFolder / kKWinScriptFile, dialog, dialog.input().tray());
    }
    const int status = QCoreApplication::exec();
    // The command line that started this driver for --profile learns why it ended at once.
    return mouseMissing && commandLine_.startProfile != 0 ? kNoMouseExitStatus : status;
}

// An import replaces the files, then the window and the mouse take the selected profile of the
// new set, as a start would.
std::string DriverProgram::importProfileSet(const std::string& file) {
    Parts& p = *parts_;
    const ParsedProfileSet parsed = readProfileSetFile(file);
    if (!parsed.set) {
        return parsed.problem;
    }
    p.reader.macroPlayer().stopAll();
    std::filesystem::path backup;
    if (std::string problem = writeProfileSet(SettingsFiles::inFolder(p.files.settingsFolder),
                                              p.profiles, p.macroStore, *parsed.set, &backup);
        !problem.empty()) {
        return problem;
    }
    logLine("settings imported from " + file +
            (backup.empty() ? "" : "; the earlier ones are kept in " + backup.string()));
    std::vector<std::string> problems;
    (void)p.macroStore.readTable(p.macros, problems);
    for (const std::string& problem : problems) {
        logLine(problem);
    }
    p.model.runtime.curConfig.store(parsed.set->selected);
    p.profiles.load(parsed.set->selected, p.model.profile);
    if (!p.app.mainWindowDestroyed()) {
        p.dialog->settingsReplaced();
    }
    if (p.programProfiles) {
        p.programProfiles->reloadRules();
    }
    if (!p.link.connected()) {
        return {};
    }
    const SwitchResult applied =
        p.controller.selectProfile(parsed.set->selected, SwitchCause::WindowApply);
    return applied.ok() ? std::string() : applied.text();
}

} // namespace veldran
