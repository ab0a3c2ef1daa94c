// Add and Delete of the advanced page on a macro table and real list and edit controls, and the
// name field rules (cut to the 10 units Macro.dat keeps, exact comparison).
#include "macro/MacroListActions.h"

#include "config/MacroStore.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <filesystem>
#include <gtest/gtest.h>

namespace veldran {
namespace {

class MacroListActionsTest : public ::testing::Test {
protected:
    // Puts macros with the given names and event counts into the table and the name list.
    void preset(std::initializer_list<std::pair<const char*, int>> macros) {
        int i = 0;
        table.edit([&](auto& records) {
            for (const auto& [name, events] : macros) {
                setMacroName(records[i], QString::fromUtf8(name));
                records[i].eventCount = static_cast<std::uint8_t>(events);
                nameList.addItem(QString::fromUtf8(name));
                ++i;
            }
        });
        table.setCount(static_cast<std::int16_t>(i));
    }
    QString nameAt(int i) {
        QString name;
        table.edit([&](auto& records) { name = macroName(records[i]); });
        return name;
    }
    int eventsAt(int i) {
        int events = 0;
        table.edit([&](auto& records) { events = records[i].eventCount; });
        return events;
    }
    void addNamed(const QString& name) {
        nameEdit.setText(name);
        actions.add();
    }

    MacroTable table;
    QLineEdit nameEdit;
    QListWidget nameList;
    QListWidget eventList;
    std::vector<int> refreshed;
    MacroListActions actions{table, [this]() -> QLineEdit& { return nameEdit; }, nameList,
                             eventList, [this](int m) { refreshed.push_back(m); }};
};

TEST(MacroNames, CutToTheTenUnitsTheFileKeepsWithoutSplittingAPair) {
    const QString twenty = QStringLiteral("abcdefghijklmnopqrst");
    EXPECT_EQ(fittedMacroName(twenty), twenty.left(10));
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80"); // two units
    const QString pairAtTheEdge = QStringLiteral("abcdefghi") + emoji;
    EXPECT_EQ(fittedMacroName(pairAtTheEdge), pairAtTheEdge.left(9));

    MacroRecord record;
    record.name.fill(0xAB);
    setMacroName(record, twenty);
    EXPECT_EQ(macroName(record), twenty.left(10));
    EXPECT_EQ(record.name[38], 0);
    EXPECT_EQ(record.name[39], 0);
    setMacroName(record, QString::fromUtf8("Ação 宏"));
    EXPECT_EQ(macroName(record), QString::fromUtf8("Ação 宏"));
    EXPECT_EQ(record.name[10], 0x8F); // 宏 is U+5B8F, stored little-endian
    EXPECT_EQ(record.name[11], 0x5B);
}

TEST(MacroNames, ANameFillingTheWholeFieldStopsAtItsEnd) {
    MacroRecord record;
    record.name.fill('a');
    EXPECT_EQ(macroName(record).size(), 20);
}

TEST_F(MacroListActionsTest, FindComparesExactlyAndReturnsTheCountWhenAbsent) {
    preset({{"Jump", 2}, {"jump", 1}, {"Jump", 3}});
    EXPECT_EQ(FindMacroByName(table, "Jump"), 0);
    EXPECT_EQ(FindMacroByName(table, "jump"), 1);
    EXPECT_EQ(FindMacroByName(table, "JUMP"), 3);
    EXPECT_EQ(FindMacroByName(table, "Jum"), 3);
}

TEST_F(MacroListActionsTest, AddAppendsANewMacroWithoutEventsAndSelectsIt) {
    preset({{"First", 4}});
    eventList.addItems({"a", "b"});
    addNamed("Second");
    EXPECT_EQ(table.count(), 2);
    EXPECT_EQ(nameAt(1), "Second");
    EXPECT_EQ(eventsAt(1), 0);
    EXPECT_EQ(nameList.count(), 2);
    EXPECT_EQ(nameList.item(1)->text(), "Second");
    EXPECT_EQ(nameList.currentRow(), 1);
    EXPECT_EQ(eventList.count(), 0);
}

TEST_F(MacroListActionsTest, AddingAnExistingNameOnlySelectsIt) {
    preset({{"First", 4}, {"Second", 2}});
    eventList.addItems({"a", "b", "c"});
    nameList.setCurrentRow(1);
    addNamed("First");
    EXPECT_EQ(table.count(), 2);
    EXPECT_EQ(eventsAt(0), 4);
    EXPECT_EQ(nameList.count(), 2);
    EXPECT_EQ(nameList.currentRow(), 0);
    EXPECT_EQ(eventList.count(), 3);
}

TEST_F(MacroListActionsTest, AddIgnoresEmptyNamesAndAThirteenthMacro) {
    addNamed("");
    EXPECT_EQ(table.count(), 0);
    for (int i = 0; i < 12; ++i) {
        addNamed(QString("M%1").arg(i));
    }
    EXPECT_EQ(table.count(), 12);
    addNamed("M12");
    EXPECT_EQ(table.count(), 12);
    EXPECT_EQ(nameList.count(), 12);
    EXPECT_EQ(FindMacroByName(table, "M12"), 12);
}

TEST_F(MacroListActionsTest, ALongNameIsStoredCutAndFoundAgain) {
    const QString longName = QStringLiteral("A macro with a very long name");
    addNamed(longName);
    addNamed(longName);
    EXPECT_EQ(table.count(), 1);
    EXPECT_EQ(nameAt(0), longName.left(10));
    EXPECT_EQ(nameList.item(0)->text(), longName.left(10));
}

TEST_F(MacroListActionsTest, DeleteMovesTheLaterMacrosDownAndSelectsTheLineAbove) {
    preset({{"A", 1}, {"B", 2}, {"C", 3}});
    table.setRepeat(1, 4);
    table.setRepeat(2, kRepeatLoop);
    nameList.setCurrentRow(1);
    actions.remove();
    EXPECT_EQ(table.count(), 2);
    // C keeps its repeat mode as it moves down; the place it left plays once.
    EXPECT_EQ(table.repeat(1), kRepeatLoop);
    EXPECT_EQ(table.repeat(2), kRepeatOnce);
    EXPECT_EQ(nameAt(0), "A");
    EXPECT_EQ(nameAt(1), "C");
    EXPECT_EQ(eventsAt(1), 3);
    EXPECT_EQ(eventsAt(2), 0); // the record no longer in use
    EXPECT_EQ(nameList.count(), 2);
    EXPECT_EQ(nameList.currentRow(), 0);
    EXPECT_EQ(nameEdit.text(), "A");
    EXPECT_EQ(refreshed, std::vector<int>{0});

    nameList.setCurrentRow(0);
    actions.remove();
    EXPECT_EQ(nameAt(0), "C");
    EXPECT_EQ(nameEdit.text(), "C");
}

TEST_F(MacroListActionsTest, DeletingTheOnlyMacroEmptiesListAndEdit) {
    preset({{"Only", 5}});
    nameEdit.setText("Only");
    nameList.setCurrentRow(0);
    actions.remove();
    EXPECT_EQ(table.count(), 0);
    EXPECT_EQ(nameList.count(), 0);
    EXPECT_TRUE(nameEdit.text().isEmpty());
    EXPECT_EQ(eventsAt(0), 0);
    EXPECT_EQ(refreshed, std::vector<int>{0});

    actions.remove(); // an empty list: nothing
    EXPECT_EQ(table.count(), 0);
    EXPECT_EQ(refreshed.size(), 1u);
}

TEST_F(MacroListActionsTest, DeleteWithoutACurrentLineDoesNothing) {
    preset({{"A", 1}, {"B", 2}});
    nameList.setCurrentRow(-1);
    actions.remove();
    EXPECT_EQ(table.count(), 2);
    EXPECT_EQ(nameList.count(), 2);
    EXPECT_TRUE(refreshed.empty());
}

} // namespace
} // namespace veldran

namespace veldran {
namespace {

TEST(SaveAllMacros, WritesTheFileOrSaysWhyNot) {
    const QTemporaryDir temporary;
    ASSERT_TRUE(temporary.isValid());
    const std::filesystem::path folder = temporary.path().toStdString();
    MacroTable table;
    table.edit([](auto& records) { setMacroName(records[0], "Jump"); });
    table.setCount(1);
    std::vector<QString> messages;
    const auto message = [&](const QString& text) { messages.push_back(text); };

    const MacroStore store(folder / "Macro.dat");
    EXPECT_TRUE(saveAllMacros(store, table, message));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(store.readCount(), 1);

    // The repeat modes go to macros.ini beside Macro.dat, readable by the user alone; a value
    // that is no mode reads as once and is reported.
    table.setRepeat(0, kRepeatLoop);
    EXPECT_TRUE(saveAllMacros(store, table, message));
    EXPECT_EQ(std::filesystem::status(store.repeatPath()).permissions() &
                  std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    MacroTable again;
    EXPECT_TRUE(store.readRepeatModes(again).empty());
    EXPECT_EQ(again.repeat(0), kRepeatLoop);
    const auto problems =
        MacroStore::readRepeatModesFromText("[Repeat]\n0=0\n1=99\n2=100\n3= Toggle \n", again);
    EXPECT_EQ(problems.size(), 2u);
    EXPECT_EQ(again.repeat(0), kRepeatOnce);
    EXPECT_EQ(again.repeat(1), 99);
    EXPECT_EQ(again.repeat(2), kRepeatOnce);
    EXPECT_EQ(again.repeat(3), kRepeatLoop);

    const MacroStore nowhere(folder / "missing" / "Macro.dat");
    EXPECT_FALSE(saveAllMacros(nowhere, table, message));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].startsWith("The macros could not be saved"));
}

} // namespace
} // namespace veldran
