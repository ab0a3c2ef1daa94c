#include "app/MainWindowInput.h"

#include "app/CQEL_GMouseApp.h"
#include "app/MainWindowState.h"
#include "app/WindowInFront.h"
#include "config/FunctionCode.h"
#include "config/MacroTable.h"
#include "config/Profile.h"
#include "config/ProfileStore.h"
#include "control/ProfileController.h"
#include "device/DeviceEventReader.h"
#include "device/DeviceProtocol.h"
#include "macro/CEditableListBox.h"
#include "macro/WindowKeyMessages.h"
#include "menus/MenuPointerRelay.h"
#include "platform/linux/LogindPowerNotices.h"
#include "platform/linux/WindowScreenPosition.h"
#include "platform/linux/X11DetectableAutoRepeat.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <chrono>
#include <thread>

namespace veldran {

namespace {

// Tells of the window's minimising and hiding, however they come (the window manager, the window
// menu, the minimise element).
class VisibilityWatcher final : public QObject {
public:
    explicit VisibilityWatcher(std::function<void()> leftScreen)
        : leftScreen_(std::move(leftScreen)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const bool minimised = event->type() == QEvent::WindowStateChange &&
                               static_cast<QWidget*>(watched)->isMinimized();
        if (minimised || event->type() == QEvent::Hide) {
            leftScreen_();
        }
        return false;
    }

private:
    std::function<void()> leftScreen_;
};

} // namespace

MainWindowInput::MainWindowInput(CQEL_GMouseDlg& window, const CQEL_GMouseDlg::Services& services)
    : window_(window), s_(services),
      pointer_(s_.state, s_.state.macroEditor, s_.model, s_.macros, *this), mover_(window),
      macroControls_(window),
      macroEditor_(s_.macros, s_.state.macroEditor, macroControls_, contextMenu_),
      macroActions_(
          s_.macros, [this]() -> QLineEdit& { return macroControls_.nameEdit(); },
          macroControls_.nameList(), macroControls_.eventList(),
          [this](int n) {
              // The macro now shown is the one the page comes back to.
              s_.state.macroEditor.selectedMacro = n;
              macroEditor_.RefreshEventList(n);
          }),
      recorder_(s_.macros, s_.state.macroEditor, s_.clock != nullptr ? *s_.clock : systemClock_,
                s_.keyboardHook) {
    // The frames around the editor's controls are elements: going on from a frame (or any
    // element) onto a control leaves no element under the pointer.
    macroControls_.onPointerEntered([this] { pointer_.movedOntoControl(); });
    // The repeat mode of the macro chosen in the name list.
    repeatControl_ = new MacroRepeatControl(
        s_.macros,
        [this] {
            const QListWidget& names = macroControls_.nameList();
            const QListWidgetItem* line = names.item(names.currentRow());
            return line != nullptr && line->isSelected() && names.currentRow() < s_.macros.count()
                       ? names.currentRow()
                       : -1;
        },
        &window_);
    repeatControl_->hide();
    repeatControl_->onPointerEntered([this] { pointer_.movedOntoControl(); });

    TrayController::Hooks hooks;
    hooks.defaults = [this] { s_.protocol.defaults(); };
    hooks.pause10ms = [] { std::this_thread::sleep_for(std::chrono::milliseconds(10)); };
    hooks.exitSequence = [this] { s_.app.exitSequence(); };
    tray_ = std::make_unique<TrayController>(window_, trayMenu_, std::move(hooks));
    s_.app.setTrayIconRemover([this] { tray_->removeIcon(); });
    windowMenu_ = std::make_unique<WindowMenu>(window_);

    // Step 1 of the pre-filter is the macro editor's, step 2 the recorder's (the capture hands
    // its keys to the recorder directly); step 3 (Enter and Escape) is the pre-filter's own.
    MainWindowPreFilter::Steps steps;
    steps.rightButtonReleased = [this](QPoint globalPos) {
        if (s_.state.pointer.page == SkinPage::Advanced && macroControls_.shown()) {
            macroEditor_.RightButtonReleased(globalPos);
        }
    };
    steps.recordKey = [this](QObject* watched, const QKeyEvent& key) {
        if (recordWindowKey(key) == MacroRecorder::Step::PassOn) {
            return MainWindowPreFilter::RecordingResult::SkipEnterEscape;
        }
        // While a recording runs the window's keys are the macro's alone: none reaches a control
        // (Ctrl+A would open the event list's pause editor).
        const bool ownWindow =
            watched->isWidgetType() && static_cast<QWidget*>(watched)->window() == &window_;
        return recorder_.recording() && ownWindow ? MainWindowPreFilter::RecordingResult::Consume
                                                  : MainWindowPreFilter::RecordingResult::Continue;
    };
    preFilter_ = std::make_unique<MainWindowPreFilter>(window_, std::move(steps));

    // A choice in the name list, by a click or the keyboard, shows that macro; the program's own
    // selections are made without telling the list's listeners. (The connections end with the
    // pre-filter, before the window's children go.)
    QObject::connect(&macroControls_.nameList(), &QListWidget::itemSelectionChanged,
                     preFilter_.get(), [this] {
                         // A choice answers what the status line asked for (or said) last.
                         if (!recorder_.recording()) {
                             setStatusNote({});
                         }
                         macroEditor_.OnMacroSelected();
                         repeatControl_->update();
                     });
    QObject::connect(&macroControls_.eventList(), &QListWidget::itemDoubleClicked, preFilter_.get(),
                     [this](QListWidgetItem* item) {
                         macroEditor_.EditPauseLine(macroControls_.eventList().row(item));
                     });

    functionMenus_ = new FunctionMenus(s_.state, s_.model.profile, s_.macros, &window_);
    QObject::connect(functionMenus_, &FunctionMenus::functionChosen, &window_,
                     &CQEL_GMouseDlg::requestRepaint);

    power_ = std::make_unique<LogindPowerNotices>();
    listenForPowerNotices(*power_);

    // Without the capture a held key is recorded from the window's keys: one press (its repeats
    // are the same press again) and one release.
    enableDetectableAutoRepeat();
    macroEditor_.setRecorder(&recorder_);
    recorder_.setEventList({[this] { macroEditor_.RefreshEventList(recorder_.targetRecord()); },
                            [this](int record, int event) {
                                // While the page is away its event list is gone; coming back
                                // shows the recording afresh.
                                if (macroControls_.shown()) {
                                    macroEditor_.AppendEventLines(record, event);
                                }
                            },
                            [this](int record) {
                                // The recorded macro stays on show, chosen in the name list, so
                                // that the context menu acts on the lines the list shows.
                                if (macroControls_.shown()) {
                                    selectMacro(record);
                                }
                                // However it ended (Stop, hiding, deleting the macro, the 40th
                                // event), the status line and those who follow it hear of it.
                                recordingChanged();
                            }});
    // Nothing on screen could stop a recording any more: it ends with the window's leaving.
    visibilityWatcher_ = std::make_unique<VisibilityWatcher>([this] { recorder_.stopRecording(); });
    window_.installEventFilter(visibilityWatcher_.get());
}

void MainWindowInput::setStatusNote(const QString& text) {
    const std::string note = text.toStdString();
    if (note != s_.state.macroEditor.statusNote) {
        s_.state.macroEditor.statusNote = note;
        window_.requestRepaint();
    }
}

void MainWindowInput::recordingChanged() {
    if (recorder_.recording()) {
        const QString name = macroName(s_.macros.snapshot(recorder_.targetRecord()));
        const QString note =
            QCoreApplication::translate("MainWindowInput", "Recording \"%1\": press Stop to end.")
                .arg(name);
        setStatusNote(note);
        tray_->setToolTipNote(note);
    } else {
        setStatusNote({});
        tray_->setToolTipNote({});
    }
    window_.requestRepaint();
    if (recordingListener_) {
        recordingListener_();
    }
}

void MainWindowInput::loadContextMenu() {
    contextMenu_.ConvertToOwnerDraw(contextMenu_.menu());
}

void MainWindowInput::loadTrayMenu() {
    trayMenu_.ConvertToOwnerDraw(trayMenu_.menu());
}

void MainWindowInput::listenForPowerNotices(PowerNotices& notices) {
    notices.subscribe([this](PowerNotice notice) {
        // Nothing may stay held down through a suspend: the keys of playing macros go up first.
        if (notice == PowerNotice::Suspending) {
            s_.reader.macroPlayer().stopAll();
        }
        // The mouse may have lost its settings in a suspend: it gets what it held again.
        s_.protocol.resendApplied();
    });
}

MainWindowInput::~MainWindowInput() {
    window_.removeEventFilter(visibilityWatcher_.get());
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
    // A failed write has shown its message already.
    (void)s_.controller.selectProfile(s_.model.runtime.curConfig.load(), SwitchCause::WindowApply);
}

void MainWindowInput::chooseProfile(int profileNumber) {
    (void)s_.controller.selectProfile(profileNumber, SwitchCause::WindowChoice);
}

void MainWindowInput::defaults() {
    s_.protocol.defaults();
}

void MainWindowInput::load(int profileNumber) {
    s_.profiles.load(profileNumber, s_.model.profile);
}

void MainWindowInput::save(int profileNumber) {
    if (!s_.profiles.save(profileNumber, s_.model.profile)) {
        s_.app.messageBox(
            QCoreApplication::translate("MainWindowInput", "The settings could not be saved to %1.")
                .arg(QString::fromStdString(s_.profiles.path().string())));
    }
}

void MainWindowInput::hideToTray() {
    // Nothing on screen could stop a recording any more.
    recorder_.stopRecording();
    tray_->hideToTray();
}

void MainWindowInput::minimise() {
    recorder_.stopRecording();
    cancelSecondLook(window_);
    window_.showMinimized();
}

void MainWindowInput::startDrag(QPoint pos) {
    mover_.start(window_.mapToGlobal(pos));
}

void MainWindowInput::openFunctionMenu(int element) {
    const QRect field = s_.state.skin.main[static_cast<std::size_t>(element)].rect();
    functionMenus_->open(element, QRect(windowScreenPosition(window_), window_.size()), field);
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
    placeRepeatControl();
}

void MainWindowInput::macrosReplaced() {
    if (macroControls_.shown()) {
        destroyMacroControls();
        createMacroControls();
        if (s_.macros.count() > 0) {
            selectMacro(s_.state.macroEditor.selectedMacro);
        }
    }
    repeatControl_->update();
}

void MainWindowInput::placeRepeatControl() {
    // Below the quick guide's last line, across its column, in the look of the Add button.
    const SkinTables& skin = s_.state.skin;
    const Element& guide = skin.advanced[16];
    const Element& add = skin.advanced[17];
    if (guide.width <= 0 || add.width <= 0) {
        return;
    }
    const PageRenderer& renderer = window_.renderer();
    repeatControl_->setLook(QImage(renderer.skinPath("advanced_normal.jpg")),
                            QImage(renderer.skinPath("advanced_over.jpg")),
                            QImage(renderer.skinPath("advanced_down.jpg")),
                            QRect(add.x, add.y, add.width, add.height));
    repeatControl_->setGeometry(guide.x, guide.y + guide.height + 12, guide.width,
                                MacroRepeatControl::kHeight);
    repeatControl_->show();
    repeatControl_->raise();
}

void MainWindowInput::destroyMacroControls() {
    macroControls_.destroy();
    repeatControl_->hide();
}

int MainWindowInput::macroNameLineCount() {
    return macroControls_.nameList().count();
}

void MainWindowInput::selectMacro(int line) {
    if (macroControls_.selectMacro(line) >= 0) {
        macroEditor_.OnMacroSelected();
    }
    repeatControl_->update();
}

void MainWindowInput::addMacro() {
    macroEditor_.finishEditing();
    if (s_.macros.count() >= kMaxMacros) {
        setStatusNote(QCoreApplication::translate("MainWindowInput",
                                                  "Twelve macros at most: delete one first."));
        return;
    }
    setStatusNote({});
    macroActions_.add();
    repeatControl_->update();
}

void MainWindowInput::deleteMacro() {
    // A recording ends first: its record may go, and the ones after the deleted macro move down.
    recorder_.stopRecording();
    // A pause being edited is stored before the macros move down.
    macroEditor_.finishEditing();
    const int deleted = macroActions_.remove();
    if (deleted < 0) {
        return;
    }
    // The buttons follow their macros at once: one that played the deleted macro gets its factory
    // function, one that played a later macro plays it at its new place. The stored profiles
    // follow when the macros are saved; the mouse at the next Apply.
    QStringList changed;
    Profile& profile = s_.model.profile;
    for (int slot = 1; slot <= kDeviceSlotCount; ++slot) {
        const std::int32_t code = profile.code(slot);
        const std::int32_t after = codeAfterMacroDeleted(slot, code, deleted);
        if (after != code) {
            profile.setCode(slot, after);
            changed.append(QString::number(slot));
        }
    }
    s_.profiles.noteMacroDeleted(deleted);
    setStatusNote(changed.isEmpty() ? QString()
                                    : QCoreApplication::translate(
                                          "MainWindowInput", "Buttons changed with the macro: %1.")
                                          .arg(changed.join(", ")));
    repeatControl_->update();
    window_.requestRepaint();
}

void MainWindowInput::editClosed() {
    macroEditor_.OnEditClosed();
}

void MainWindowInput::toggleRecording() {
    QListWidget& names = macroControls_.nameList();
    macroControls_.eventList().setFocus();
    if (names.count() == 0) {
        return;
    }
    // A pause being edited is stored before the list is emptied for the recording.
    macroEditor_.finishEditing();
    if (recorder_.recording()) {
        recorder_.stopRecording(); // the recorder tells of the end
        return;
    }
    const QListWidgetItem* current = names.item(names.currentRow());
    if (current == nullptr || !current->isSelected()) {
        // Recording wipes the macro it goes into: it must be the one the user chose.
        setStatusNote(QCoreApplication::translate("MainWindowInput",
                                                  "Choose the macro to record into first."));
        return;
    }
    const int index = names.currentRow();
    // The layout may have changed since the last recording.
    keyMapRead_ = readApplicationKeyMap(keyMap_);
    recorder_.toggle(index, fittedMacroName(names.item(index)->text()).toStdString());
    recordingChanged();
}

MacroRecorder::Step MainWindowInput::recordWindowKey(const QKeyEvent& event) {
    // The key itself, not the character its shift level gives: Shift+1 records Shift and 1.
    const std::uint8_t physicalKey =
        keyMapRead_ ? keyMap_.virtualKey(event.nativeScanCode(), event.nativeModifiers()) : 0;
    const std::optional<KeyMessage> message = windowKeyMessage(event, physicalKey);
    return message ? recorder_.recordKey(*message, MacroRecorder::Source::Window)
                   : MacroRecorder::Step::Continue;
}

void MainWindowInput::saveMacros() {
    const auto message = [this](const QString& text) { s_.app.messageBox(text); };
    // A recording that runs is saved with the events recorded so far.
    const bool saved = recorder_.withRecordedEventsCounted(
        [&] { return saveAllMacros(s_.macroStore, s_.macros, message); });
    // The stored profiles' buttons follow the macros deleted since the last save, in the same
    // step as the new Macro.dat.
    if (saved && !s_.profiles.saveMacroButtons()) {
        message(
            QCoreApplication::translate("MainWindowInput", "The settings could not be saved to %1.")
                .arg(QString::fromStdString(s_.profiles.path().string())));
    }
}

} // namespace veldran
