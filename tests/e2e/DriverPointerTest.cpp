// The driver program under X with the virtual mouse: real clicks on the real window (profile 2,
// a DPI choice, apply, save), checked in the reports the virtual mouse printed and in config.ini.
#include "e2e/DriverRig.h"
#include "e2e/XServerProbe.h"

#include <csignal>

namespace {

using namespace veldran::testing;

class DriverPointerTest : public DriverRig {};

TEST_F(DriverPointerTest, ProfileDpiChoiceApplyAndSave) {
    const int atStart = static_cast<int>(features().size());

    clickElement(5);  // Profile 2: loaded, nothing sent
    clickElement(47); // stage 1, the third choice (DPI code 2)
    EXPECT_EQ(features().size(), atStart);
    EXPECT_EQ(iniValue(configText(), "Init", "CurConfig"), "1");

    clickElement(3); // Apply
    ASSERT_TRUE(QTest::qWaitFor([&] { return features().size() >= atStart + 9; }, 5000));
    const QStringList sent = features().mid(atStart);
    EXPECT_TRUE(sent.first().startsWith("07 10 01")) << sent.first().toStdString();
    EXPECT_TRUE(sent[7].startsWith("07 11 00 00")) << sent[7].toStdString();
    // DPI level 0 with code 2 and light mode 0: (2 + 8) x 16 = 0xa0.
    EXPECT_TRUE(sent[8].startsWith("07 09 00 a0")) << sent[8].toStdString();
    const QString applied = configText();
    EXPECT_EQ(iniValue(applied, "Init", "CurConfig"), "2");
    EXPECT_EQ(iniValue(applied, "Config6", "DPI_SET1"), "2");
    EXPECT_EQ(iniValue(applied, "Config2", "DPI_SET1"), "1"); // not saved yet

    clickElement(15); // Save into Profile 2
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return iniValue(configText(), "Config2", "DPI_SET1") == "2"; }, 3000));
    EXPECT_EQ(features().size(), atStart + 9); // saving sends nothing
}

TEST_F(DriverPointerTest, EmptyBackgroundDragsTheWindowWithoutAWindowManager) {
    const QPoint before = windowPosition();
    // Between the profile buttons and the Save button there is only background.
    const QPoint background = elementCentre(layout, 8) + QPoint(60, 0);
    run("xdotool", {"mousemove", "--window", window, QString::number(background.x()),
                    QString::number(background.y())});
    run("xdotool", {"mousedown", "1"});
    QTest::qWait(100);
    run("xdotool", {"mousemove_relative", "--", "-40", "-30"});
    QTest::qWait(200);
    run("xdotool", {"mouseup", "1"});
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return windowPosition() == before + QPoint(-40, -30); }, 3000))
        << windowPosition().x() << "," << windowPosition().y();
}

TEST_F(DriverPointerTest, ButtonFieldOpensTheFunctionMenuAndTheNextPressClosesIt) {
    clickElement(19); // the field of button 3
    ASSERT_TRUE(QTest::qWaitFor([&] { return windowVisible("MainMenuDlg"); }, 3000));
    const QPoint menuAt = windowTitledAt("MainMenuDlg");
    // Directly below the field, aligned with its left edge.
    EXPECT_EQ(menuAt, windowPosition() + QPoint(30, 262 + 26));
    clickElement(30); // a label of the main page: any press closes the menu
    EXPECT_TRUE(QTest::qWaitFor([&] { return !windowVisible("MainMenuDlg"); }, 3000));
}

} // namespace

// A mouse that stops answering (the virtual mouse stopped with SIGSTOP): Apply sends the first
// report, waits once, sends nothing more and the status line says so; the next Apply, the mouse
// answering again, sends everything from the first report on.
TEST_F(DriverPointerTest, ApplyStopsAtTheFirstReportTheMouseDoesNotAnswer) {
    XServerProbe probe;
    ASSERT_TRUE(probe.ok());
    // The yellow pixels on the middle row of the status line: a different text shows others.
    const QPoint row = windowPosition() + QPoint(24, 62 + 11);
    auto statusRow = [&] {
        QList<int> yellow;
        for (int x = 0; x < 352; ++x) {
            const QRgb c = probe.pixel(row + QPoint(x, 0));
            if (qRed(c) > 120 && qGreen(c) > 120 && qBlue(c) < 90) {
                yellow.append(x);
            }
        }
        return yellow;
    };
    const QList<int> answering = statusRow();
    ASSERT_FALSE(answering.isEmpty());
    const int atStart = static_cast<int>(features().size());

    ASSERT_EQ(kill(static_cast<pid_t>(mouse.processId()), SIGSTOP), 0);
    clickElement(3); // Apply
    const bool told = QTest::qWaitFor([&] { return statusRow() != answering; }, 15000);
    kill(static_cast<pid_t>(mouse.processId()), SIGCONT);
    ASSERT_TRUE(told);
    ASSERT_TRUE(QTest::qWaitFor([&] { return features().size() >= atStart + 1; }, 5000));

    clickElement(3); // Apply again: the mouse answers
    ASSERT_TRUE(QTest::qWaitFor([&] { return features().size() >= atStart + 10; }, 5000));
    const QStringList sent = features().mid(atStart);
    EXPECT_EQ(sent.size(), 10);
    EXPECT_TRUE(sent[0].startsWith("07 10 01")) << sent[0].toStdString();
    EXPECT_TRUE(sent[1].startsWith("07 10 01")) << sent[1].toStdString(); // tried again
    EXPECT_TRUE(sent[9].startsWith("07 09 00")) << sent[9].toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return statusRow() == answering; }, 3000));
}
