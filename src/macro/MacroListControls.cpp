#include "macro/MacroListControls.h"

#include "macro/CEditableListBox.h"
#include "macro/MacroControlStyle.h"
#include "macro/MacroListActions.h"

#include <QEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>

namespace veldran {

namespace {

// Calls a handler when a watched widget gets the pointer; the event itself goes on.
class EnterWatcher final : public QObject {
public:
    explicit EnterWatcher(const std::function<void()>& handler) : handler_(handler) {}

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::Enter && handler_) {
            handler_();
        }
        return false;
    }

private:
    const std::function<void()>& handler_;
};

} // namespace

MacroListControls::MacroListControls(QWidget& window)
    : window_(window), nameList_(new QListWidget(&window)),
      eventList_(new CEditableListBox(&window)),
      enterWatcher_(std::make_unique<EnterWatcher>(pointerEntered_)) {
    nameList_->setObjectName(QStringLiteral("macroNameList"));
    eventList_->setObjectName(QStringLiteral("macroEventList"));
    nameList_->setProperty("controlId", kNameListId);
    eventList_->setProperty("controlId", kEventListId);
    for (QListWidget* list : {nameList_, static_cast<QListWidget*>(eventList_)}) {
        // A scroll bar only when the lines do not fit; lines stay in the order they are added,
        // all of one height, scrolled line by line (the event list's line under the pointer is
        // worked out from the scroll position).
        list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setSortingEnabled(false);
        list->setUniformItemSizes(true);
        list->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->installEventFilter(enterWatcher_.get());
    }
    nameList_->hide();
    eventList_->hide();
}

MacroListControls::~MacroListControls() = default;

QLineEdit& MacroListControls::nameEdit() const {
    if (nameEdit_ == nullptr) {
        // A line edit lays out its text as it is made, which needs the fonts: made at the start,
        // it would hold the window's first appearance until they are loaded.
        nameEdit_ = new QLineEdit(&window_);
        nameEdit_->hide();
        nameEdit_->setObjectName(QStringLiteral("macroNameEdit"));
        nameEdit_->setProperty("controlId", kNameEditId);
        nameEdit_->installEventFilter(enterWatcher_.get());
        nameEdit_->setAlignment(Qt::AlignCenter);
        // A name longer than the record's name field cannot be typed.
        nameEdit_->setMaxLength(kMacroNameMaxUnits);
        // Tab goes from the name edit to the name list and on to the event list, as if the
        // edit had been made first.
        QWidget::setTabOrder(nameEdit_, nameList_);
        QWidget::setTabOrder(nameList_, eventList_);
    }
    return *nameEdit_;
}

std::array<QWidget*, 3> MacroListControls::controls() const {
    return {&nameEdit(), nameList_, eventList_};
}

void MacroListControls::create(const QRect& nameEdit, const QRect& nameList, const QRect& eventList,
                               const QStringList& names) {
    if (!styled_) {
        // The editor's look (its face above all) is first needed here; left out of the window's
        // start, it does not delay the window's first appearance.
        styled_ = true;
        for (QWidget* control : controls()) {
            applyMacroControlStyle(*control);
        }
    }
    this->nameEdit().setGeometry(nameEdit);
    nameList_->setGeometry(nameList);
    eventList_->setGeometry(eventList);
    // Each entry starts with fresh controls: an empty edit, the names, no events.
    nameEdit_->clear();
    eventList_->clear();
    {
        const QSignalBlocker blocker(nameList_);
        nameList_->clear();
        nameList_->addItems(names);
    }
    nameEdit_->show();
    nameList_->show();
    eventList_->show();
    // With the keyboard focus nowhere in the window, it goes to the first control, as it does
    // when the controls exist before the window first takes the focus.
    if (window_.focusWidget() == nullptr) {
        nameEdit_->setFocus(Qt::OtherFocusReason);
    }
}

void MacroListControls::destroy() {
    eventList_->EndEdit(true);
    if (nameEdit_ != nullptr) {
        nameEdit_->hide();
    }
    nameList_->hide();
    eventList_->hide();
}

bool MacroListControls::shown() const {
    return !nameList_->isHidden();
}

int MacroListControls::selectMacro(int line) {
    if (line < 0 || line >= nameList_->count()) {
        return -1;
    }
    {
        const QSignalBlocker blocker(nameList_);
        nameList_->setCurrentRow(line);
    }
    nameEdit().setText(nameList_->item(line)->text());
    return line;
}

} // namespace veldran
