// The main window's pre-filter: Enter and Escape never reach a control or close the window (its
// message boxes keep them), the recording step sees keys first and can let them through, and a
// right-button release is handed to step 1 once, where the window system delivers it, before the
// widget under it gets it.
#include "app/MainWindowPreFilter.h"

#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

namespace veldran {
namespace {

// Counts the right-button releases that reach it.
class ReleaseCounter final : public QWidget {
public:
    using QWidget::QWidget;
    int releases = 0;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        ++releases;
        event->ignore(); // handed on to the parent
    }
};

class MainWindowPreFilterTest : public ::testing::Test {
protected:
    MainWindowPreFilterTest() {
        window.resize(300, 200);
        edit = new QLineEdit(&window);
        area = new ReleaseCounter(&window);
        area->setGeometry(0, 100, 300, 100);
        window.show();
        (void)QTest::qWaitForWindowExposed(&window);
        edit->setFocus();
    }
    QDialog window; // a dialog closes on Escape unless the key is kept from it
    QLineEdit* edit;
    ReleaseCounter* area;
    MainWindowPreFilter filter{window, {}};
};

TEST_F(MainWindowPreFilterTest, EnterAndEscapeNeverCloseTheWindowOrReachAControl) {
    QTest::keyClick(edit, Qt::Key_Escape);
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClick(&window, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.result(), 0);
    // Other keys still reach the controls.
    QTest::keyClicks(edit, "ab");
    EXPECT_EQ(edit->text(), "ab");

    // A message box the window owns keeps its own Enter and Escape.
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        QMessageBox owned(QMessageBox::Information, {}, QStringLiteral("text"), QMessageBox::Ok,
                          &window);
        owned.show();
        (void)QTest::qWaitForWindowExposed(&owned);
        QTest::keyClick(&owned, key);
        EXPECT_FALSE(owned.isVisible()) << key;
    }
    EXPECT_TRUE(window.isVisible());
}

TEST_F(MainWindowPreFilterTest, RecordingSeesEnterFirstAndMayLetKeysThrough) {
    std::vector<std::pair<QEvent::Type, int>> seen;
    bool skip = false;
    filter.steps().recordKey = [&](QObject*, const QKeyEvent& key) {
        seen.emplace_back(key.type(), key.key());
        return skip ? MainWindowPreFilter::RecordingResult::SkipEnterEscape
                    : MainWindowPreFilter::RecordingResult::Continue;
    };
    QTest::keyClick(edit, Qt::Key_Return);
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen.front(), std::make_pair(QEvent::KeyPress, int(Qt::Key_Return)));
    EXPECT_EQ(seen.back(), std::make_pair(QEvent::KeyRelease, int(Qt::Key_Return)));
    EXPECT_EQ(window.result(), 0);
    EXPECT_TRUE(window.isVisible());

    skip = true; // a key the recorder sends straight on reaches the dialog
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(MainWindowPreFilterTest, ARightButtonReleaseIsSeenOnceBeforeItsWidget) {
    std::vector<QPoint> released;
    int widgetReleasesAtStep = -1;
    filter.steps().rightButtonReleased = [&](QPoint at) {
        released.push_back(at);
        widgetReleasesAtStep = area->releases;
    };
    QWindow* handle = window.windowHandle();
    QTest::mouseClick(handle, Qt::RightButton, {}, QPoint(40, 150));
    ASSERT_EQ(released.size(), 1u); // not again when the widget hands it to its parent
    EXPECT_EQ(released[0], window.mapToGlobal(QPoint(40, 150)));
    EXPECT_EQ(widgetReleasesAtStep, 0);
    EXPECT_EQ(area->releases, 1); // the release still reaches its widget

    QTest::mouseClick(handle, Qt::LeftButton, {}, QPoint(40, 150));
    EXPECT_EQ(released.size(), 1u);
}

} // namespace
} // namespace veldran
