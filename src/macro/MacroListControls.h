// The three controls of the macro editor on the advanced page: the name edit, the macro name
// list and the event list. The objects live as long as the main window; they are placed and
// shown when the page is entered and hidden when it is left.
#pragma once

#include <QRect>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>

class QLineEdit;
class QObject;
class QListWidget;
class QWidget;

namespace veldran {

class CEditableListBox;

// Identifiers of the three controls.
inline constexpr int kNameEditId = 10000;
inline constexpr int kNameListId = 10001;
inline constexpr int kEventListId = 10002;

class MacroListControls {
public:
    // Creates the controls as hidden children of window (the name edit when it is first asked
    // for); they take the editor's look when they are first placed.
    explicit MacroListControls(QWidget& window);
    ~MacroListControls();

    // Places the controls on their rectangles, fills the name list with names and shows them.
    void create(const QRect& nameEdit, const QRect& nameList, const QRect& eventList,
                const QStringList& names);
    // Hides the controls (ending an edit in the event list, keeping its text); their objects stay
    // for the next entry.
    void destroy();
    bool shown() const;

    // Selects line of the name list (without telling its listeners) and puts its name into the
    // name edit. Returns the line's index, or -1 when there is no such line.
    int selectMacro(int line);

    // Runs handler whenever the pointer goes onto one of the controls.
    void onPointerEntered(std::function<void()> handler) { pointerEntered_ = std::move(handler); }

    // The name edit is made when it is first asked for.
    QLineEdit& nameEdit() const;
    QListWidget& nameList() const { return *nameList_; }
    CEditableListBox& eventList() const { return *eventList_; }

private:
    std::array<QWidget*, 3> controls() const;

    QWidget& window_;
    mutable QLineEdit* nameEdit_ = nullptr;
    QListWidget* nameList_;
    CEditableListBox* eventList_;
    bool styled_ = false; // the editor's look is given at the first placing
    std::function<void()> pointerEntered_;
    std::unique_ptr<QObject> enterWatcher_; // tells pointerEntered_ of the controls' Enter events
};

} // namespace veldran
