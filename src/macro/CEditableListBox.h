// A list whose selected line can be edited in place: a small edit box (CEditHelper) opens exactly
// over the line, the typed text replaces the line when editing ends, and the list's parent window
// is told that editing has closed. The list knows nothing about macros; it edits text lines.
//
// Editing opens only through a character code 1 (the owner's request for "Modificar Delay", or
// Ctrl+A typed in the list): every character the list receives sets its arm code, and an opening
// needs the code to be 1 and clears it. A right-button release on the selected line and the
// release of Insert open the editor only while the list is armed that way.
#pragma once

#include <QEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <functional>

namespace veldran {

// From the in-place editor to its list: end editing, keeping (1) or dropping (0) the text.
inline constexpr QEvent::Type UM_END_EDIT = static_cast<QEvent::Type>(0x8841);
// From the list to its parent window: the editor has closed, the edited line holds its text.
inline constexpr QEvent::Type UM_EDIT_CLOSED = static_cast<QEvent::Type>(0x040A);
// A character for the list, as a keyboard would deliver it (the owner's way to arm the list).
inline constexpr QEvent::Type UM_LIST_CHAR = static_cast<QEvent::Type>(0x8842);

class EndEditEvent final : public QEvent {
public:
    // confirmed: the user asked to keep the text (Enter), rather than leaving the editor.
    explicit EndEditEvent(bool keep, bool confirmed = false)
        : QEvent(UM_END_EDIT), keep_(keep), confirmed_(confirmed) {}
    bool keep() const { return keep_; }
    bool confirmed() const { return confirmed_; }

private:
    bool keep_;
    bool confirmed_;
};

class ListCharEvent final : public QEvent {
public:
    explicit ListCharEvent(char16_t code) : QEvent(UM_LIST_CHAR), code_(code) {}
    char16_t code() const { return code_; }

private:
    char16_t code_;
};

class CEditableListBox;

// The in-place editor: Enter and Escape end editing on their release (keeping and dropping the
// text), and so does losing the focus (keeping it).
class CEditHelper final : public QLineEdit {
    Q_OBJECT
public:
    CEditHelper(CEditableListBox& list, QWidget* parent);

protected:
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void endEdit(bool keep, bool confirmed = false);
    QPointer<CEditableListBox> list_;
};

class CEditableListBox final : public QListWidget {
    Q_OBJECT
public:
    explicit CEditableListBox(QWidget* parent = nullptr);
    ~CEditableListBox() override;

    // Opens the editor over the selected line if the arm code is 1 (and clears the code).
    void BeginEdit();
    // Closes the editor; with keep, a text that differs from the line's replaces the line and is
    // selected. Then UM_EDIT_CLOSED goes to the parent window. Nothing when no editor is open.
    // A text the check refuses is not kept: on a confirmed end (Enter) the editor stays open with
    // the check's message, on any other end the typed text is dropped.
    void EndEdit(bool keep, bool confirmed = false);

    // Which lines may be edited (all when unset).
    void setLineEditable(std::function<bool(int line)> editable) {
        lineEditable_ = std::move(editable);
    }
    // The check of a typed text: empty when it is taken, else why it is refused.
    void setTextCheck(std::function<QString(const QString&)> check) {
        textCheck_ = std::move(check);
    }
    // Whether the last editing that closed kept its text (false for Escape and refusals).
    bool lastEditKept() const { return lastEditKept_; }
    // Takes a character as if typed into the list: arms the list with it, then BeginEdit.
    void receiveChar(char16_t code);

    // The selected line, or -1.
    int selectedLine() const;
    // Selects line, or leaves the list without a selection when there is no such line.
    void selectLine(int line);
    // Height of one line, also when the list is empty.
    int lineHeight() const;

    bool editing() const { return editor_ != nullptr; }
    CEditHelper* editor() const { return editor_; }
    int editedLine() const { return editedLine_; }
    int armCode() const { return armCode_; }

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    CEditHelper* editor_ = nullptr;
    int editedLine_ = -1;
    int armCode_ = 0;
    bool lastEditKept_ = false;
    std::function<bool(int)> lineEditable_;
    std::function<QString(const QString&)> textCheck_;
};

} // namespace veldran
