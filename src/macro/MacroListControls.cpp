#include "macro/MacroListControls.h"

#include "macro/MacroControlStyle.h"

#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>

namespace veldran {

MacroListControls::MacroListControls(QWidget& window)
    : nameEdit_(new QLineEdit(&window)), nameList_(new QListWidget(&window)),
      eventList_(new QListWidget(&window)) {
    nameEdit_->setObjectName(QStringLiteral("macroNameEdit"));
    nameList_->setObjectName(QStringLiteral("macroNameList"));
    eventList_->setObjectName(QStringLiteral("macroEventList"));
    nameEdit_->setAlignment(Qt::AlignCenter);
    for (QListWidget* list : {nameList_, eventList_}) {
        list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        list->setSortingEnabled(false);
    }
    for (QWidget* control : {static_cast<QWidget*>(nameEdit_), static_cast<QWidget*>(nameList_),
                             static_cast<QWidget*>(eventList_)}) {
        applyMacroControlStyle(*control);
        control->hide();
    }
}

void MacroListControls::create(const QRect& nameEdit, const QRect& nameList, const QRect& eventList,
                               const QStringList& names) {
    nameEdit_->setGeometry(nameEdit);
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
}

void MacroListControls::destroy() {
    nameEdit_->hide();
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
    nameEdit_->setText(nameList_->item(line)->text());
    return line;
}

} // namespace veldran
