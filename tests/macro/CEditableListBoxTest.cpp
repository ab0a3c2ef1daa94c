// The list with in-place editing: what opens the editor (only a character code 1, and the
// right button or Insert while so armed), where it opens, and how each way out treats the typed
// text and tells the parent.
#include "macro/CEditableListBox.h"

#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace veldran {
namespace {

// The list's parent window, counting the editor's closings.
class Owner final : public QWidget {
public:
    int closed = 0;

protected:
    bool event(QEvent* event) override {
        if (event->type() == UM_EDIT_CLOSED) {
            ++closed;
            return true;
        }
        return QWidget::event(event);
    }
};

class CEditableListBoxTest : public ::testing::Test {
protected:
    CEditableListBoxTest() {
        owner.resize(300, 200);
        list = new CEditableListBox(&owner);
        list->setGeometry(10, 10, 200, 120);
        for (int i = 0; i < 30; ++i) {
            list->addItem(QString("  %1ms").arg(i * 10));
        }
        owner.show();
        (void)QTest::qWaitForWindowExposed(&owner);
    }
    void openOn(int line) {
        list->setCurrentRow(line);
        ListCharEvent request(1);
        QCoreApplication::sendEvent(list, &request);
    }
    void releaseRight(QPoint at) { QTest::mouseRelease(list->viewport(), Qt::RightButton, {}, at); }

    Owner owner;
    CEditableListBox* list;
};

TEST_F(CEditableListBoxTest, OpensOnlyOnCodeOneOverTheSelectedLine) {
    EXPECT_EQ(list->armCode(), 0);
    releaseRight(list->visualItemRect(list->item(0)).center());
    EXPECT_FALSE(list->editing()); // a fresh list is not armed

    list->selectLine(-1);
    ListCharEvent request(1);
    QCoreApplication::sendEvent(list, &request);
    EXPECT_FALSE(list->editing()); // no selection, nothing opens
    EXPECT_EQ(list->armCode(), 0);

    openOn(3);
    ASSERT_TRUE(list->editing());
    CEditHelper* editor = list->editor();
    const QRect line = list->visualItemRect(list->item(3));
    EXPECT_EQ(editor->geometry(), line.adjusted(0, -2, 0, 2));
    EXPECT_EQ(editor->text(), "  30ms");
    EXPECT_EQ(editor->selectedText(), "  30ms");
    EXPECT_EQ(editor->font(), list->font());
    EXPECT_TRUE(QTest::qWaitFor([&] { return editor->hasFocus(); }, 1000));
    EXPECT_EQ(list->editedLine(), 3);
    EXPECT_EQ(list->armCode(), 0);
}

TEST_F(CEditableListBoxTest, RightButtonAndInsertOpenOnlyWhileArmed) {
    list->setFocus();
    list->setCurrentRow(2);
    QTest::keyClick(list, Qt::Key_B); // an ordinary character arms nothing
    EXPECT_EQ(list->armCode(), 'b');
    releaseRight(list->visualItemRect(list->item(2)).center());
    QTest::keyRelease(list, Qt::Key_Insert);
    EXPECT_FALSE(list->editing());

    QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier); // Ctrl+A is code 1
    EXPECT_TRUE(list->editing());
    QTest::keyRelease(list->editor(), Qt::Key_Escape);
    EXPECT_FALSE(list->editing());
}

TEST_F(CEditableListBoxTest, EnterKeepsTheTextAndReplacesOnlyAChangedLine) {
    openOn(4);
    QListWidgetItem* before = list->item(4);
    QTest::keyRelease(list->editor(), Qt::Key_Return); // the same text: nothing replaced
    EXPECT_EQ(list->item(4), before);
    EXPECT_EQ(owner.closed, 1);

    openOn(4);
    QTest::keyClicks(list->editor(), "250");
    QTest::keyRelease(list->editor(), Qt::Key_Return);
    EXPECT_FALSE(list->editing());
    EXPECT_EQ(list->item(4)->text(), "250");
    EXPECT_EQ(list->count(), 30);
    EXPECT_EQ(list->selectedLine(), 4);
    EXPECT_EQ(owner.closed, 2); // once per closing, the editor's focus loss adds none
}

TEST_F(CEditableListBoxTest, ScrollingAndResizingKeepTheText) {
    openOn(2);
    QTest::keyClicks(list->editor(), "22");
    list->verticalScrollBar()->setValue(list->verticalScrollBar()->value() + 3);
    EXPECT_FALSE(list->editing());
    EXPECT_EQ(list->item(2)->text(), "22");

    openOn(3);
    QTest::keyClicks(list->editor(), "33");
    list->resize(190, 110);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !list->editing(); }, 1000));
    EXPECT_EQ(list->item(3)->text(), "33");
    EXPECT_EQ(owner.closed, 2);
}

} // namespace
} // namespace veldran
