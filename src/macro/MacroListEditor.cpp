#include "macro/MacroListEditor.h"

#include "macro/CEditableListBox.h"
#include "macro/CQelMenu.h"
#include "macro/MacroEventEdits.h"
#include "macro/MacroLineTexts.h"
#include "macro/MacroListControls.h"
#include "macro/MacroRecorder.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>

namespace veldran {

namespace {

constexpr std::uint8_t kPress = static_cast<std::uint8_t>(MacroAction::Press);
constexpr std::uint8_t kRelease = static_cast<std::uint8_t>(MacroAction::Release);

} // namespace

MacroListEditor::MacroListEditor(MacroTable& table, MacroEditorState& state,
                                 MacroListControls& controls, CQelMenu& contextMenu)
    : table_(table), state_(state), controls_(controls), contextMenu_(contextMenu),
      chooseFromMenu_([this](QPoint at) { return showMenu(at); }) {
    CEditableListBox& list = controls_.eventList();
    // Only pauses are edited in place; an event line holds no number to type over.
    list.setLineEditable([](int line) { return isPauseLine(line); });
    list.setTextCheck([](const QString& text) {
        return typedPause(text) ? QString()
                                : QCoreApplication::translate(
                                      "MacroListEditor", "A pause is 0 to 65535 milliseconds.");
    });
}

int MacroListEditor::showMenu(QPoint globalPos) {
    QMenu* popup = contextMenu_.popup();
    if (popup == nullptr) {
        return 0;
    }
    int chosen = 0;
    QObject guard; // the connections end with this showing
    QObject::connect(popup, &QMenu::triggered, &guard,
                     [&chosen](QAction* action) { chosen = action->data().toInt(); });
    for (QAction* action : popup->actions()) {
        if (QMenu* sub = action->menu()) {
            QObject::connect(sub, &QMenu::triggered, &guard,
                             [&chosen](QAction* item) { chosen = item->data().toInt(); });
        }
    }
    popup->exec(globalPos);
    return chosen;
}

bool MacroListEditor::macroInUse(int m) const {
    return m >= 0 && m < table_.count() && m < kMaxMacros;
}

int MacroListEditor::nameListSelection() const {
    const QListWidget& names = controls_.nameList();
    const QListWidgetItem* line = names.item(names.currentRow());
    return line != nullptr && line->isSelected() ? names.currentRow() : -1;
}

void MacroListEditor::OnMacroSelected() {
    const int m = nameListSelection();
    if (m < 0) {
        return;
    }
    state_.selectedMacro = m;
    controls_.nameEdit().setText(controls_.nameList().item(m)->text());
    RefreshEventList(m);
}

void MacroListEditor::selectAfterAppend() {
    CEditableListBox& list = controls_.eventList();
    list.selectLine(state_.recording ? list.count() - 1 : state_.selectedEventLine);
}

void MacroListEditor::RefreshEventList(int m) {
    const bool recording = recorder_ != nullptr && recorder_->recording();
    if (recording) {
        m = recorder_->targetRecord();
    }
    CEditableListBox& list = controls_.eventList();
    list.clear();
    shownMacro_ = m;
    if (!macroInUse(m)) {
        return;
    }
    // One copy of the record, then all its lines at once: the same lines and the same final
    // selection as appending event after event, without a redraw per line.
    const MacroRecord record = table_.snapshot(m);
    // All that playback plays; a record being recorded counts its events only at the end.
    const int events = recording ? recorder_->recordedCount() : record.usableEventCount();
    QStringList lines;
    lines.reserve(2 * events);
    for (int k = 0; k < events; ++k) {
        lines.append(EventLines(record, k));
    }
    list.addItems(lines);
    if (events > 0) {
        selectAfterAppend();
    }
}

void MacroListEditor::AppendEventLines(int m, int k) {
    const MacroRecord record = table_.snapshot(m);
    controls_.eventList().addItems(EventLines(record, k));
    selectAfterAppend();
}

void MacroListEditor::RightButtonReleased(QPoint globalPos) {
    if (menuOpen_) {
        return; // a release inside the context menu's own loop
    }
    CEditableListBox& list = controls_.eventList();
    // A pause being edited is stored first, into the targets it was opened for.
    list.EndEdit(true);
    const QWidget* area = list.viewport();
    const QRect rect(area->mapToGlobal(QPoint(0, 0)), area->size());
    const int scroll = list.verticalScrollBar()->value();
    const int height = list.lineHeight();
    const int line = height == 0 ? 0 : (scroll * height + globalPos.y() - rect.top()) / height;

    state_.selectedEventLine = line;
    list.selectLine(line);
    list.viewport()->repaint();
    const int lines = list.count();
    state_.lineCountAtMenu = lines;

    int command = 0;
    if (rect.contains(globalPos) && (line < lines || lines == 0)) {
        menuOpen_ = true;
        command = chooseFromMenu_ ? chooseFromMenu_(globalPos) : 0;
        menuOpen_ = false;
    }
    state_.menuLine = list.selectedLine();
    state_.menuMacro = nameListSelection();
    state_.menuEvent = eventOfLine(state_.menuLine);
    if (command != 0) {
        // The choice arrives after the menu has closed and the release has reached its window.
        QMetaObject::invokeMethod(
            &pending_, [this, command] { RunCommand(command); }, Qt::QueuedConnection);
    }
}

void MacroListEditor::RunCommand(int command) {
    if (state_.recording || !macroInUse(state_.menuMacro)) {
        return;
    }
    switch (command) {
    case kCmdLeftDown:
        insertEvent(kLeftButtonCode, kPress, false);
        break;
    case kCmdLeftUp:
        insertEvent(kLeftButtonCode, kRelease, true);
        break;
    case kCmdRightDown:
        insertEvent(kRightButtonCode, kPress, true);
        break;
    case kCmdRightUp:
        insertEvent(kRightButtonCode, kRelease, true);
        break;
    case kCmdMiddleDown:
        insertEvent(kMiddleButtonCode, kPress, true);
        break;
    case kCmdMiddleUp:
        insertEvent(kMiddleButtonCode, kRelease, true);
        break;
    case kCmdModifyDelay:
        modifyDelay();
        break;
    case kCmdDeleteItem:
        if (isPauseLine(state_.menuLine)) {
            clearPause();
        } else {
            deleteEvent();
        }
        break;
    default:
        break;
    }
}

void MacroListEditor::insertEvent(std::uint8_t code, std::uint8_t action, bool advanceSelection) {
    const int r = state_.menuMacro;
    const int c = state_.menuEvent;
    table_.edit([&](auto& records) {
        insertMacroEvent(records[static_cast<std::size_t>(r)], c, code, action);
    });
    if (advanceSelection) {
        state_.selectedEventLine += 2;
    }
    RefreshEventList(r);
}

void MacroListEditor::deleteEvent() {
    const int r = state_.menuMacro;
    const int c = state_.menuEvent;
    table_.edit([&](auto& records) { deleteMacroEvent(records[static_cast<std::size_t>(r)], c); });
    state_.selectedEventLine = state_.selectedEventLine > 2 ? state_.selectedEventLine - 2 : 0;
    RefreshEventList(r);
}

void MacroListEditor::clearPause() {
    const int r = state_.menuMacro;
    const int k = state_.menuEvent;
    table_.edit(
        [&](auto& records) { storeMacroPause(records[static_cast<std::size_t>(r)], k, 0); });
    RefreshEventList(r);
}

void MacroListEditor::modifyDelay() {
    if (state_.lineCountAtMenu == 0 || !isPauseLine(state_.selectedEventLine)) {
        return;
    }
    QCoreApplication::postEvent(&controls_.eventList(), new ListCharEvent(1));
}

void MacroListEditor::EditPauseLine(int line) {
    CEditableListBox& list = controls_.eventList();
    if (state_.recording || !isPauseLine(line) || line >= list.count()) {
        return;
    }
    const int m = nameListSelection();
    if (!macroInUse(m)) {
        return;
    }
    state_.selectedEventLine = line;
    list.selectLine(line);
    state_.lineCountAtMenu = list.count();
    state_.menuLine = line;
    state_.menuMacro = m;
    state_.menuEvent = eventOfLine(line);
    modifyDelay();
}

void MacroListEditor::OnEditClosed() {
    const CEditableListBox& list = controls_.eventList();
    // The editor opens over the selected line, whether the context menu or Ctrl+A opened it, and
    // the list keeps that line selected until it has closed.
    const int line = list.selectedLine();
    const int m = shownMacro_;
    // Escape (or a refused text) stores nothing.
    if (line >= 0 && isPauseLine(line) && list.lastEditKept() && macroInUse(m)) {
        state_.selectedEventLine = line;
        const std::int32_t value = pauseValueOf(list.item(line)->text());
        const int k = eventOfLine(line);
        table_.edit([&](auto& records) {
            storeMacroPause(records[static_cast<std::size_t>(m)], k, value);
        });
    }
    RefreshEventList(m);
}

void MacroListEditor::finishEditing() {
    controls_.eventList().EndEdit(true);
}

} // namespace veldran
