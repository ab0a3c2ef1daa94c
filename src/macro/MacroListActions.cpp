#include "macro/MacroListActions.h"

#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <algorithm>

namespace veldran {

namespace {

// Selects a line the way the program itself does: without telling the list's listeners that
// the user chose it.
void selectLine(QListWidget& list, int line) {
    const QSignalBlocker blocker(&list);
    list.setCurrentRow(line);
}

} // namespace

QString macroName(const MacroRecord& record) {
    QString name;
    for (int i = 0; i < kMacroNameUnits; ++i) {
        const auto unit = static_cast<char16_t>(record.name[2 * i] | (record.name[2 * i + 1] << 8));
        if (unit == 0) {
            break;
        }
        name.append(QChar(unit));
    }
    return name;
}

QString fittedMacroName(const QString& name) {
    if (name.size() <= kMacroNameMaxUnits) {
        return name;
    }
    const bool splitsPair = name.at(kMacroNameMaxUnits - 1).isHighSurrogate();
    return name.left(splitsPair ? kMacroNameMaxUnits - 1 : kMacroNameMaxUnits);
}

void setMacroName(MacroRecord& record, const QString& name) {
    const QString fitted = fittedMacroName(name);
    record.name.fill(0);
    for (int i = 0; i < fitted.size(); ++i) {
        const char16_t unit = fitted.at(i).unicode();
        record.name[static_cast<std::size_t>(2 * i)] = static_cast<std::uint8_t>(unit & 0xFF);
        record.name[static_cast<std::size_t>(2 * i + 1)] = static_cast<std::uint8_t>(unit >> 8);
    }
}

int FindMacroByName(const std::array<MacroRecord, kMacroRecordCount>& records, int count,
                    const QString& name) {
    const int usable = std::clamp(count, 0, kMaxMacros);
    for (int i = 0; i < usable; ++i) {
        if (macroName(records[static_cast<std::size_t>(i)]) == name) {
            return i;
        }
    }
    return count;
}

int FindMacroByName(MacroTable& table, const QString& name) {
    int index = 0;
    table.edit([&](const auto& records) { index = FindMacroByName(records, table.count(), name); });
    return index;
}

MacroListActions::MacroListActions(MacroTable& table, std::function<QLineEdit&()> nameEdit,
                                   QListWidget& nameList, QListWidget& eventList,
                                   std::function<void(int)> refreshEventList)
    : table_(table), nameEdit_(std::move(nameEdit)), nameList_(nameList), eventList_(eventList),
      refreshEventList_(std::move(refreshEventList)) {}

void MacroListActions::add() {
    const QString text = nameEdit_().text();
    nameList_.setFocus();
    const int count = table_.count();
    if (count >= kMaxMacros || count < 0 || text.isEmpty()) {
        return;
    }
    // A long name is stored cut, and it is the cut name that is looked up, so adding the same
    // long name again selects the macro instead of adding a twin.
    const QString name = fittedMacroName(text);
    int index = 0;
    table_.edit([&](auto& records) {
        index = count == 0 ? 0 : FindMacroByName(records, count, name);
        setMacroName(records[static_cast<std::size_t>(index)], name);
    });
    if (index == count) {
        table_.setRepeat(index, kRepeatOnce); // a new macro plays once
        eventList_.clear();
        nameList_.addItem(name);
        table_.setCount(static_cast<std::int16_t>(count + 1));
    }
    selectLine(nameList_, index);
}

int MacroListActions::remove() {
    const int lines = nameList_.count();
    const int count = table_.count();
    const int s = nameList_.currentRow();
    // Without a current line (or with a line the table does not hold) there is nothing to delete.
    if (lines == 0 || s < 0 || s >= count || count > kMaxMacros) {
        return -1;
    }
    table_.edit([&](auto& records) {
        for (int k = s; k < count - 1; ++k) {
            records[static_cast<std::size_t>(k)] = records[static_cast<std::size_t>(k + 1)];
        }
        records[static_cast<std::size_t>(count - 1)].eventCount = 0;
    });
    table_.removeRepeat(s); // the later macros keep their modes as they move up
    {
        const QSignalBlocker blocker(&nameList_);
        delete nameList_.takeItem(s);
    }
    const int n = s > 0 ? s - 1 : 0;
    selectLine(nameList_, n);
    if (nameList_.count() > 0) {
        nameEdit_().setText(nameList_.item(n)->text());
    } else {
        nameEdit_().clear();
    }
    table_.setCount(static_cast<std::int16_t>(count - 1));
    if (refreshEventList_) {
        refreshEventList_(n);
    }
    return s;
}

} // namespace veldran
