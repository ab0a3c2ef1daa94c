// The main window's pointer, tray and window-menu handling, in one object the window owns: it
// forwards pointer events to the pointer rules and carries out what they ask (repaints, Load,
// Save, Apply, Defaults, hiding, minimising, dragging, the function menu and the macro buttons),
// keeps the tray icon, the owner-drawn tray and context menus, the window menu, the message
// pre-filter and the macro editor, and re-applies the settings on power notices.
#pragma once

#include "app/CQEL_GMouseDlg.h"
#include "app/MainWindowPreFilter.h"
#include "app/TrayController.h"
#include "app/WindowMenu.h"
#include "macro/CQelMenu.h"
#include "macro/MacroListActions.h"
#include "macro/MacroListControls.h"
#include "macro/MacroListEditor.h"
#include "macro/MacroRecorder.h"
#include "macro/MacroRepeatControl.h"
#include "menus/CMenuDlg.h"
#include "menus/FunctionMenus.h"
#include "platform/Clock.h"
#include "platform/PowerNotices.h"
#include "platform/linux/X11KeyMap.h"
#include "skin/PointerInput.h"
#include "skin/PointerInputWindowMove.h"

#include <functional>
#include <memory>

class QKeyEvent;
class QMouseEvent;

namespace veldran {

class MainWindowInput final : public PointerActions {
public:
    MainWindowInput(CQEL_GMouseDlg& window, const CQEL_GMouseDlg::Services& services);
    ~MainWindowInput() override;

    // The window's pointer events.
    void mouseMoved(const QMouseEvent& event);
    void mousePressed(const QMouseEvent& event);
    void mouseReleased(const QMouseEvent& event);

    // Steps of the window's initialisation: the macro context menu (154) and the tray menu (157)
    // become owner-drawn.
    void loadContextMenu();
    void loadTrayMenu();

    // Applies the settings again on every notice of notices (logind's, from the start); before a
    // suspend, stops the macros first.
    void listenForPowerNotices(PowerNotices& notices);

    TrayController& tray() { return *tray_; }
    // Told after a macro recording has started or stopped.
    void setRecordingListener(std::function<void()> listener) {
        recordingListener_ = std::move(listener);
    }
    WindowMenu& windowMenu() { return *windowMenu_; }
    CQelMenu& trayMenu() { return trayMenu_; }
    CQelMenu& contextMenu() { return contextMenu_; }
    MacroListControls& macroControls() { return macroControls_; }
    MacroListEditor& macroEditor() { return macroEditor_; }
    MacroRepeatControl& repeatControl() { return *repeatControl_; }
    MainWindowPreFilter& preFilter() { return *preFilter_; }

    // The macro table was read again: the editor's lists, when shown, show what it holds now.
    void macrosReplaced();
    // The event list's in-place editor has closed (UM_EDIT_CLOSED): store the edited pause.
    void editClosed();
    FunctionMenus& functionMenus() { return *functionMenus_; }
    MacroRecorder& recorder() { return recorder_; }

    // The recording step of the pre-filter for a key event of one of the program's windows.
    MacroRecorder::Step recordWindowKey(const QKeyEvent& event);

    // PointerActions.
    void invalidate(Area area) override;
    void repaintNow(Area area) override;
    void apply() override;
    void defaults() override;
    void load(int profileNumber) override;
    void chooseProfile(int profileNumber) override;
    void save(int profileNumber) override;
    void hideToTray() override;
    void minimise() override;
    void startDrag(QPoint pos) override;
    void openFunctionMenu(int element) override;
    void closeFunctionMenu() override;
    void createMacroControls() override;
    void destroyMacroControls() override;
    int macroNameLineCount() override;
    void selectMacro(int line) override;
    void addMacro() override;
    void deleteMacro() override;
    void toggleRecording() override;
    void saveMacros() override;

private:
    void placeRepeatControl();
    // A recording has started or ended: the status line, the tray icon's tooltip, the repaint of
    // the Record element and the listener follow.
    void recordingChanged();
    // Puts text on the status line (empty: the driver's own status again).
    void setStatusNote(const QString& text);

    CQEL_GMouseDlg& window_;
    CQEL_GMouseDlg::Services s_;
    CQelMenu trayMenu_{kTrayMenuId};
    CQelMenu contextMenu_{kMacroContextMenuId};
    PointerInput pointer_;
    WindowMover mover_;
    MacroListControls macroControls_;
    MacroListEditor macroEditor_;
    MacroListActions macroActions_;
    MacroRepeatControl* repeatControl_; // a child of the window
    std::unique_ptr<TrayController> tray_;
    std::function<void()> recordingListener_;
    std::unique_ptr<WindowMenu> windowMenu_;
    std::unique_ptr<MainWindowPreFilter> preFilter_;
    std::unique_ptr<PowerNotices> power_;
    FunctionMenus* functionMenus_; // a child of the window
    SystemClock systemClock_;      // for recorded pauses when the services bring no clock
    MacroRecorder recorder_;
    // The keyboard map read when the recording started: what the window's keys are recorded as.
    X11KeyMap keyMap_;
    bool keyMapRead_ = false;
    // Ends a recording when the window is minimised or hidden by any means.
    std::unique_ptr<QObject> visibilityWatcher_;
};

} // namespace veldran
