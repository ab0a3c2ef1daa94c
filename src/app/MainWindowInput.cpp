#include "app/MainWindowInput.h"

#include "app/CQEL_GMouseApp.h"
#include "config/MacroTable.h"
#include "config/Profile.h"
#include "config/ProfileStore.h"
#include "device/DeviceProtocol.h"
#include "menus/MenuPointerRelay.h"
#include "platform/linux/LogindPowerNotices.h"
#include "skin/MainWindowState.h"

#include <QListWidget>
#include <QMouseEvent>
#include <chrono>
#include <thread>

namespace veldran {

MainWindowInput::MainWindowInput(CQEL_GMouseDlg& window, const CQEL_GMouseDlg::Services& services)
    : window_(window), s_(services), pointer_(s_.state, s_.model, s_.macros, *this), mover_(window),
      macroControls_(window),
      macroActions_(s_.macros, macroControls_.nameEdit(), macroControls_.nameList(),
                    macroControls_.eventList(), {}) {
    TrayController::Hooks hooks;
    hooks.defaults = [this] { s_.protocol.defaults(); };
    hooks.pause10ms = [] { std::this_thread::sleep_for(std::chrono::milliseconds(10)); };
    hooks.exitSequence = [this] { s_.app.exitSequence(); };
    tray_ = std::make_unique<TrayController>(window_, trayMenu_, std::move(hooks));
    s_.app.setTrayIconRemover([this] { tray_->removeIcon(); });
    windowMenu_ = std::make_unique<WindowMenu>(window_);

    functionMenus_ = new FunctionMenus(s_.state, s_.model.profile, s_.macros, &window_);
    QObject::connect(functionMenus_, &FunctionMenus::functionChosen, &window_,
                     &CQEL_GMouseDlg::requestRepaint);

    power_ = std::make_unique<LogindPowerNotices>();
    listenForPowerNotices(*power_);
}

void MainWindowInput::loadContextMenu() {
    contextMenu_.ConvertToOwnerDraw(contextMenu_.menu());
}

void MainWindowInput::loadTrayMenu() {
    trayMenu_.ConvertToOwnerDraw(trayMenu_.menu());
}

void MainWindowInput::listenForPowerNotices(PowerNotices& notices) {
    notices.subscribe([this] { s_.protocol.apply(); });
}

MainWindowInput::~MainWindowInput() {
    s_.app.setTrayIconRemover({});
}

void MainWindowInput::mouseMoved(const QMouseEvent& event) {
    mover_.pointerMoved(event.globalPosition().toPoint());
    // The button held since a press here: over an open function menu the move is the menu's.
    if (relayHeldPointer(functionMenus_->menu(), event)) {
        return;
    }
    pointer_.moved(event.position().toPoint());
}

void MainWindowInput::mousePressed(const QMouseEvent& event) {
    if (event.button() == Qt::LeftButton) {
        pointer_.pressed(event.position().toPoint());
    }
}

void MainWindowInput::mouseReleased(const QMouseEvent& event) {
    if (event.button() == Qt::LeftButton) {
        mover_.released();
        // A release over an open function menu chooses there, never on an element under it.
        if (relayHeldPointer(functionMenus_->menu(), event)) {
            pointer_.releasedElsewhere();
            return;
        }
        pointer_.released(event.position().toPoint());
    }
}

void MainWindowInput::invalidate(Area area) {
    if (area == Area::PaintRegion) {
        window_.update(s_.state.paintRegion);
    } else {
        window_.requestRepaint();
    }
}

void MainWindowInput::repaintNow(Area area) {
    if (area == Area::PaintRegion) {
        window_.repaint(s_.state.paintRegion);
    } else {
        window_.repaintWindow();
    }
}

void MainWindowInput::apply() {
    s_.protocol.apply();
}

void MainWindowInput::defaults() {
    s_.protocol.defaults();
}

void MainWindowInput::load(int profileNumber) {
    s_.profiles.load(profileNumber, s_.model.profile);
}

void MainWindowInput::save(int profileNumber) {
    if (!s_.profiles.save(profileNumber, s_.model.profile)) {
        s_.app.messageBox(QStringLiteral("The settings could not be saved to %1.")
                              .arg(QString::fromStdString(s_.profiles.path().string())));
    }
}

void MainWindowInput::hideToTray() {
    tray_->hideToTray();
}

void MainWindowInput::minimise() {
    window_.showMinimized();
}

void MainWindowInput::startDrag(QPoint pos) {
    mover_.start(window_.mapToGlobal(pos));
}

void MainWindowInput::openFunctionMenu(int element) {
    const QRect field = s_.state.skin.main[static_cast<std::size_t>(element)].rect();
    functionMenus_->open(element, window_.frameGeometry(), field);
    // The window's paint destroys it when the advanced function menu asks for that.
    window_.setFunctionMenu(functionMenus_->menu());
}

void MainWindowInput::closeFunctionMenu() {
    window_.setFunctionMenu(nullptr);
    functionMenus_->destroyMenu();
}

void MainWindowInput::createMacroControls() {
    QStringList names;
    const int count = s_.macros.count();
    for (int i = 0; i < count; ++i) {
        names.append(macroName(s_.macros.snapshot(i)));
    }
    const SkinTables& skin = s_.state.skin;
    macroControls_.create(skin.nameEditRect, skin.nameListRect, skin.eventListRect, names);
}

void MainWindowInput::destroyMacroControls() {
    macroControls_.destroy();
}

int MainWindowInput::macroNameLineCount() {
    return macroControls_.nameList().count();
}

void MainWindowInput::selectMacro(int line) {
    if (macroControls_.selectMacro(line) >= 0) {
        s_.state.macroEditor.selectedMacro = line;
    }
}

void MainWindowInput::addMacro() {
    macroActions_.add();
}

void MainWindowInput::deleteMacro() {
    macroActions_.remove();
}

void MainWindowInput::toggleRecording() {
    // Recording comes with the macro editor's key capture.
}

void MainWindowInput::saveMacros() {
    saveAllMacros(s_.macroStore, s_.macros,
                  [this](const QString& text) { s_.app.messageBox(text); });
}

} // namespace veldran
