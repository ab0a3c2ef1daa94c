#include "macro/CEditableListBox.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QToolTip>

namespace veldran {

namespace {

constexpr char16_t kArmingChar = 1;
constexpr int kEditorOverhang = 2; // pixels the editor reaches above and below its line

} // namespace

CEditHelper::CEditHelper(CEditableListBox& list, QWidget* parent)
    : QLineEdit(parent), list_(&list) {
    setObjectName(QStringLiteral("inPlaceEditor"));
    // The edit's own context menu would take the focus and end the editing.
    setContextMenuPolicy(Qt::NoContextMenu);
}

void CEditHelper::endEdit(bool keep, bool confirmed) {
    if (list_) {
        EndEditEvent request(keep, confirmed);
        QCoreApplication::sendEvent(list_, &request);
    }
}

void CEditHelper::keyReleaseEvent(QKeyEvent* event) {
    if (!event->isAutoRepeat()) {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            endEdit(true, true);
        } else if (event->key() == Qt::Key_Escape) {
            endEdit(false);
        }
    }
    QLineEdit::keyReleaseEvent(event);
}

void CEditHelper::focusOutEvent(QFocusEvent* event) {
    // A pop-up menu opened over the editor borrows the focus without ending the editing.
    if (event->reason() != Qt::PopupFocusReason) {
        endEdit(true);
    }
    QLineEdit::focusOutEvent(event);
}

CEditableListBox::CEditableListBox(QWidget* parent) : QListWidget(parent) {
    // Scrolling the list moves its lines away from the editor: the typed text is kept.
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { EndEdit(true); });
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { EndEdit(true); });
}

CEditableListBox::~CEditableListBox() {
    if (editor_ != nullptr) {
        CEditHelper* editor = editor_;
        editor_ = nullptr;
        delete editor;
    }
}

int CEditableListBox::selectedLine() const {
    const int row = currentRow();
    const QListWidgetItem* line = item(row);
    return line != nullptr && line->isSelected() ? row : -1;
}

void CEditableListBox::selectLine(int line) {
    if (line >= 0 && line < count()) {
        setCurrentRow(line);
    } else {
        clearSelection();
        setCurrentRow(-1);
    }
}

int CEditableListBox::lineHeight() const {
    if (count() > 0) {
        return visualItemRect(item(0)).height();
    }
    return qMax(fontMetrics().height(), 1);
}

void CEditableListBox::BeginEdit() {
    if (armCode_ != kArmingChar) {
        return;
    }
    armCode_ = 0;
    const int line = selectedLine();
    if (line < 0 || editor_ != nullptr || (lineEditable_ && !lineEditable_(line))) {
        return;
    }
    QListWidgetItem* selected = item(line);
    scrollToItem(selected);
    const QRect rect = visualItemRect(selected).adjusted(0, -kEditorOverhang, 0, kEditorOverhang);
    editor_ = new CEditHelper(*this, viewport());
    editor_->setGeometry(rect);
    editor_->setFont(font());
    editor_->setText(selected->text());
    editor_->selectAll();
    editor_->show();
    editor_->setFocus(Qt::OtherFocusReason);
    editedLine_ = line;
}

void CEditableListBox::EndEdit(bool keep, bool confirmed) {
    if (editor_ == nullptr) {
        return;
    }
    if (keep && textCheck_) {
        const QString refusal = textCheck_(editor_->text());
        if (!refusal.isEmpty()) {
            if (confirmed) {
                // The field stays open, with the reason beside it.
                QToolTip::showText(editor_->mapToGlobal(QPoint(0, editor_->height())), refusal,
                                   editor_);
                editor_->selectAll();
                return;
            }
            keep = false;
        }
    }
    lastEditKept_ = keep;
    // From here on no editor is open: replacing the line (which may scroll the list) and the
    // editor's loss of focus on hiding both ask to end again, and find nothing to do.
    CEditHelper* editor = editor_;
    editor_ = nullptr;
    const int line = editedLine_;
    editedLine_ = -1;
    if (keep && line >= 0 && line < count()) {
        const QString typed = editor->text();
        if (item(line)->text() != typed) {
            delete takeItem(line);
            insertItem(line, typed);
            setCurrentRow(line);
        }
    }
    if (editor->hasFocus()) {
        setFocus(Qt::OtherFocusReason);
    }
    // The editor may be in one of its own handlers: it goes once control is back in the loop.
    editor->hide();
    editor->deleteLater();
    if (QWidget* owner = parentWidget()) {
        QEvent closed(UM_EDIT_CLOSED);
        QCoreApplication::sendEvent(owner, &closed);
    }
}

void CEditableListBox::receiveChar(char16_t code) {
    armCode_ = code;
    BeginEdit();
}

bool CEditableListBox::event(QEvent* event) {
    if (event->type() == UM_END_EDIT) {
        const auto* request = static_cast<EndEditEvent*>(event);
        EndEdit(request->keep(), request->confirmed());
        return true;
    }
    if (event->type() == UM_LIST_CHAR) {
        receiveChar(static_cast<ListCharEvent*>(event)->code());
        return true;
    }
    return QListWidget::event(event);
}

void CEditableListBox::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool control = (modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier);
    if (control && event->key() >= Qt::Key_A && event->key() <= Qt::Key_Z) {
        // Ctrl with a letter is that letter's control character (Ctrl+A is 1), whether or not
        // the platform already gave the text as one.
        receiveChar(static_cast<char16_t>(event->key() - Qt::Key_A + 1));
    } else if (!text.isEmpty()) {
        receiveChar(text.at(0).unicode());
    }
    QListWidget::keyPressEvent(event);
}

void CEditableListBox::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Insert) {
        BeginEdit();
    }
    QListWidget::keyReleaseEvent(event);
}

void CEditableListBox::mousePressEvent(QMouseEvent* event) {
    // Like any list box, the right button does not choose a line; the main window picks the line
    // under the pointer when the button is released.
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QListWidget::mousePressEvent(event);
}

void CEditableListBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        const int line = selectedLine();
        if (line >= 0 && visualItemRect(item(line)).contains(event->position().toPoint())) {
            BeginEdit();
        }
        event->accept();
        return;
    }
    QListWidget::mouseReleaseEvent(event);
}

void CEditableListBox::resizeEvent(QResizeEvent* event) {
    QListWidget::resizeEvent(event);
    EndEdit(true);
}

} // namespace veldran
