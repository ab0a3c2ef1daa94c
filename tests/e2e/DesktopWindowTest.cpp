// The driver's windows as an X server holds them, driven with real pointer events: a press on a
// button field, a drag through both function menus and a release on a row choose a function
// without touching the main window under the menus; the macro category without macros shows no
// pixel and takes no click; without a notification area hiding minimises; a second start opens
// nothing; without the mouse Enter closes its message and the program ends; and with a scale
// factor the shape, the menus and the hit tests stay aligned.
#include "e2e/DriverRig.h"
#include "e2e/XServerProbe.h"

#include <QImage>
#include <QLocalServer>
#include <QPainter>
#include <cmath>

namespace veldran::testing {
namespace {

constexpr int kMenuRows = 10;
constexpr int kAdvancedMenuRows = 12;
constexpr QRgb kCyan = qRgb(25, 227, 255);

// Close enough to the skin's cyan to tell a highlighted row's edge from a resting one.
bool nearCyan(QRgb c) {
    return std::abs(qRed(c) - qRed(kCyan)) + std::abs(qGreen(c) - qGreen(kCyan)) +
               std::abs(qBlue(c) - qBlue(kCyan)) <
           90;
}

class DesktopWindowTest : public DriverRig {
protected:
    void SetUp() override {
        DriverRig::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        ASSERT_TRUE(probe.ok());
        const QString skins = dir.path() + "/skins";
        menuMask = QImage(skins + "/menu_mask.jpg").size();
        advancedMask = QImage(skins + "/advanced menu_mask.jpg").size();
        ASSERT_FALSE(menuMask.isEmpty());
        ASSERT_FALSE(advancedMask.isEmpty());
        row = menuMask.height() / kMenuRows;
        advancedRow = advancedMask.height() / kAdvancedMenuRows;
    }
    // Screen point of a window point of the main window.
    QPoint onScreen(QPoint windowPoint) { return windowPosition() + windowPoint; }
    static void button(bool down) {
        run("xdotool", {down ? "mousedown" : "mouseup", "1"});
        QTest::qWait(300);
    }

    XServerProbe probe;
    QSize menuMask;
    QSize advancedMask;
    int row = 0;
    int advancedRow = 0;
};

TEST_F(DesktopWindowTest, PressDragAndReleaseThroughBothMenusChooses) {
    // Button 7's menu opens over the profile buttons.
    const QRect field = elementRect(layout, 23);
    const QRect profile4 = elementRect(layout, 7);
    moveTo(onScreen(field.center()));
    button(true);
    QPoint menuAt;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return (menuAt = windowTitledAt("MainMenuDlg")) != QPoint(-1, -1); }, 3000));
    EXPECT_EQ(menuAt, onScreen(QPoint(field.x(), field.y() + field.height())));

    // The button is still held: row 2 highlights (its band's cyan edge), then row 10 opens the
    // shortcuts beside the menu.
    const QPoint rowTwo = menuAt + QPoint(menuMask.width() / 2, row + row / 2);
    moveTo(rowTwo);
    EXPECT_TRUE(nearCyan(probe.pixel(menuAt + QPoint(1, row + row / 2))));
    EXPECT_FALSE(nearCyan(probe.pixel(menuAt + QPoint(1, row / 2))));
    moveTo(menuAt + QPoint(menuMask.width() / 2, 9 * row + row / 2));
    const QPoint advancedAt = menuAt + QPoint(menuMask.width(), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return probe.topLevelAt(advancedAt) != 0; }, 3000));

    // Row 3 of the shortcuts (Ctrl+A, 33) lies right above profile button 4 of the main window.
    const int selectAllY = 2 * advancedRow + advancedRow / 2;
    const QPoint selectAll = advancedAt + QPoint(advancedMask.width() / 2, selectAllY);
    ASSERT_TRUE(QRect(onScreen(profile4.topLeft()), profile4.size()).contains(selectAll));
    moveTo(selectAll);
    EXPECT_TRUE(nearCyan(probe.pixel(advancedAt + QPoint(1, selectAllY))));
    button(false);

    // Both menus close; the main window did not load profile 4.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return !windowVisible("MainMenuDlg") && probe.topLevelAt(advancedAt) == 0; }, 3000));
    clickElement(15); // Save into the selected profile
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return iniValue(configText(), "Config1", "K7") == "33"; }, 3000))
        << configText().toStdString();
    EXPECT_EQ(iniValue(configText(), "Config4", "K7"), "13");
    clickElement(3); // Apply stores the selected profile number
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return iniValue(configText(), "Config6", "K7") == "33"; }, 3000));
    EXPECT_EQ(iniValue(configText(), "Init", "CurConfig"), "1");
}

TEST_F(DesktopWindowTest, AReleaseOnACategoryRowOverTheMainWindowDoesNothing) {
    const QRect field = elementRect(layout, 23);
    moveTo(onScreen(field.center()));
    button(true);
    QPoint menuAt;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return (menuAt = windowTitledAt("MainMenuDlg")) != QPoint(-1, -1); }, 3000));
    // Off the menu, over the main window's Save button, and back on row 10 (a category row,
    // which chooses nothing).
    moveTo(onScreen(elementCentre(layout, 15)));
    moveTo(menuAt + QPoint(20, 9 * row + row / 2));
    const int reports = static_cast<int>(features().size());
    button(false);
    QTest::qWait(300);
    // The menu stays open for a click on a row; nothing was saved, loaded or sent.
    EXPECT_TRUE(windowVisible("MainMenuDlg"));
    EXPECT_EQ(iniValue(configText(), "Config1", "K7"), "13");
    EXPECT_EQ(features().size(), reports);
}

class EmptyMacroMenuTest : public DesktopWindowTest {
protected:
    void prepareFolder(const QString& app) override {
        QFile macros(app + "/Macro.dat");
        ASSERT_TRUE(macros.open(QIODevice::WriteOnly | QIODevice::Truncate));
        macros.write("[Macros]\nmacroNum=0\n");
    }
};

TEST_F(EmptyMacroMenuTest, TheMacroCategoryWithoutMacrosShowsNoPixelAndTakesNoClick) {
    clickElement(17); // button 1: its menu opens over the middle of the main window
    QPoint menuAt;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return (menuAt = windowTitledAt("MainMenuDlg")) != QPoint(-1, -1); }, 3000));
    moveTo(menuAt + QPoint(menuMask.width() / 2, 8 * row + row / 2)); // row 9, the macros
    // Placed nine rows below the menu's top, mapped, with a shape that holds none of its pixels.
    const QPoint advancedAt = menuAt + QPoint(menuMask.width(), 9 * row);
    unsigned long advanced = 0;
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return (advanced = probe.topLevelAt(advancedAt)) != 0; }, 3000));
    const QRect area(QPoint(0, 0), probe.geometry(advanced).size());
    EXPECT_FALSE(area.isEmpty());
    // The pointer reaches a window where both its bounding and its input shape hold the point.
    EXPECT_FALSE(probe.boundingShape(advanced).intersects(area));
    EXPECT_FALSE((probe.boundingShape(advanced) & probe.inputShape(advanced)).intersects(area));

    // A press inside its rectangle reaches the main window below, which closes the menus.
    ASSERT_TRUE(probe.geometry(advanced).contains(advancedAt + QPoint(40, 20)));
    ASSERT_TRUE(
        probe.geometry(probe.topLevelAt(windowPosition())).contains(advancedAt + QPoint(40, 20)));
    moveTo(advancedAt + QPoint(40, 20));
    run("xdotool", {"click", "1"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return !windowVisible("MainMenuDlg"); }, 3000));
}

TEST_F(DesktopWindowTest, WithoutANotificationAreaHidingMinimisesAndTheWindowStaysReachable) {
    probe.watchRootMessages();
    clickElement(13);
    EXPECT_TRUE(probe.askedToIconify(window.toULong(), 3000));
    // Still mapped (its taskbar entry stays), and the driver keeps running.
    EXPECT_TRUE(windowVisible());
    EXPECT_EQ(driver.state(), QProcess::Running);
}

TEST_F(DesktopWindowTest, ASecondStartOpensNothingAndEnds) {
    // A stand-in for a virtual mouse: the second start must not even connect to it.
    QLocalServer decoy;
    const QString socket = dir.path() + "/runtime/decoy.sock";
    ASSERT_TRUE(decoy.listen(socket));
    const int reports = static_cast<int>(features().size());

    QProcess second;
    second.setProcessEnvironment(environment);
    second.start(dir.path() + "/veldran-driver", {"--virtual-mouse=" + socket});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_FALSE(decoy.waitForNewConnection(300));
    EXPECT_EQ(features().size(), reports); // nothing reached the mouse either
    EXPECT_EQ(driver.state(), QProcess::Running);
    EXPECT_TRUE(windowVisible());
}

TEST_F(DesktopWindowTest, WithoutTheMouseEnterClosesTheMessageAndTheProgramEnds) {
    driver.terminate();
    ASSERT_TRUE(driver.waitForFinished(5000));
    QProcess alone;
    alone.setProcessEnvironment(environment);
    alone.start(dir.path() + "/veldran-driver",
                {"--virtual-mouse=" + dir.path() + "/runtime/no-mouse.sock"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return windowVisible("veldran-driver"); }, 10000));
    QTest::qWait(500);
    ASSERT_EQ(alone.state(), QProcess::Running); // the message waits for the user
    run("xdotool", {"key", "Return"});
    ASSERT_TRUE(alone.waitForFinished(5000));
    EXPECT_EQ(alone.exitCode(), 0);
}

// The same window at a scale factor: QT_SCALE_FACTOR as the parameter.
class ScaledWindowTest : public DesktopWindowTest, public ::testing::WithParamInterface<double> {
protected:
    ScaledWindowTest() { extraEnvironment.insert("QT_SCALE_FACTOR", QString::number(GetParam())); }
    QPoint scaled(QPoint p) const {
        return {static_cast<int>(std::lround(p.x() * GetParam())),
                static_cast<int>(std::lround(p.y() * GetParam()))};
    }
};

TEST_P(ScaledWindowTest, ShapeMenusAndHitTestsStayAligned) {
    const double scale = GetParam();
    const unsigned long main = window.toULong();
    const QImage mask(dir.path() + "/skins/main_mask.jpg");
    ASSERT_FALSE(mask.isNull());
    const QSize size = probe.geometry(main).size();
    const QPoint scaledSize = scaled({mask.width(), mask.height()});
    EXPECT_EQ(size, QSize(scaledSize.x(), scaledSize.y()));

    // The shape the server holds, pixel by pixel, against the mask: a screen pixel whose mask
    // pixel and its neighbours are all opaque is shown, one whose are all transparent is not.
    // Seams between the shape's rectangles would show as shown pixels missing.
    QImage shown(size, QImage::Format_Grayscale8);
    shown.fill(0);
    {
        QPainter painter(&shown);
        for (const QRect& r : probe.boundingShape(main)) {
            painter.fillRect(r, Qt::white);
        }
    }
    auto opaque = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= mask.width() || y >= mask.height()) {
            return false;
        }
        const QRgb c = mask.pixel(x, y);
        return !(qRed(c) > 100 && qGreen(c) > 100 && qBlue(c) > 100);
    };
    int missing = 0;
    int extra = 0;
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const int mx = static_cast<int>(x / scale);
            const int my = static_cast<int>(y / scale);
            int opaqueAround = 0;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    opaqueAround += opaque(mx + dx, my + dy);
                }
            }
            const bool isShown = shown.constScanLine(y)[x] != 0;
            missing += opaqueAround == 9 && !isShown;
            extra += opaqueAround == 0 && isShown;
        }
    }
    EXPECT_EQ(missing, 0);
    EXPECT_EQ(extra, 0);

    // The field of button 3 at its scaled place opens the menu under it, shaped to its rows.
    const QRect field = elementRect(layout, 19);
    moveTo(windowPosition() + scaled(field.center()));
    button(true);
    QPoint menuAt;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return (menuAt = windowTitledAt("MainMenuDlg")) != QPoint(-1, -1); }, 3000));
    EXPECT_LE((menuAt - windowPosition() - scaled({field.x(), field.y() + field.height()}))
                  .manhattanLength(),
              2);
    const unsigned long menu = probe.topLevelAt(menuAt);
    const QRegion menuShape = probe.boundingShape(menu);
    EXPECT_EQ(menuShape.rectCount(), 1); // one rectangle: no seams
    EXPECT_LE(
        (menuShape.boundingRect().bottomRight() - scaled({menuMask.width(), menuMask.height()}))
            .manhattanLength(),
        3);

    // Dragged on to row 10 and into the first shortcut (Ctrl+C, 31): the rows are hit where
    // they are drawn.
    moveTo(menuAt + scaled({menuMask.width() / 2, 9 * row + row / 2}));
    const QPoint advancedAt = menuAt + scaled({menuMask.width(), 0});
    unsigned long advanced = 0;
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return (advanced = probe.topLevelAt(advancedAt, 1)) != 0; }, 3000));
    EXPECT_EQ(probe.boundingShape(advanced).rectCount(), 1);
    const QPoint copy =
        probe.geometry(advanced).topLeft() + scaled({advancedMask.width() / 2, advancedRow / 2});
    moveTo(copy);
    EXPECT_TRUE(
        nearCyan(probe.pixel(probe.geometry(advanced).topLeft() + scaled({1, advancedRow / 2}))));
    button(false);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !windowVisible("MainMenuDlg"); }, 3000));

    const QPoint save = windowPosition() + scaled(elementCentre(layout, 15));
    moveTo(save);
    run("xdotool", {"click", "1"});
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return iniValue(configText(), "Config1", "K3") == "31"; }, 3000))
        << configText().toStdString();
}

INSTANTIATE_TEST_SUITE_P(ScaleFactors, ScaledWindowTest, ::testing::Values(1.5, 2.0));

} // namespace
} // namespace veldran::testing
