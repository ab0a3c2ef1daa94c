// The macro editor end to end: the driver runs against the virtual mouse under a private X server;
// real pointer events (xdotool) open the advanced page, choose a macro, open the event list's
// context menu and choose "Apagar item" and "Modificar Delay" from it; a pause typed over its line
// and the Save button then reach Macro.dat.
#include "e2e/DriverRig.h"
#include "macro/MacroControlStyle.h"

#include <QListWidget>

namespace {

using namespace veldran::testing;

// The value of key in the [Macros] section of a Macro.dat text.
QString macroValue(const QString& text, const QString& key) {
    for (const QString& line : text.split('\n')) {
        if (line.startsWith(key + '=')) {
            return line.mid(key.size() + 1).trimmed();
        }
    }
    return {};
}

class MacroEditorEndToEndTest : public DriverRig {
protected:
    void SetUp() override {
        DriverRig::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        advancedLayout = readText(dir.path() + "/skins/skin_advance_en.ini");
        ASSERT_FALSE(advancedLayout.isEmpty());
    }

    static QString readText(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    QString macroFile() { return readText(dir.path() + "/Macro.dat"); }

    // The pointer to a point of the window, and a button pressed and released there.
    void pointAt(QPoint at) {
        run("xdotool",
            {"mousemove", "--window", window, QString::number(at.x()), QString::number(at.y())});
        QTest::qWait(150);
    }
    void clickAt(QPoint at, int button = 1) {
        pointAt(at);
        run("xdotool", {"click", QString::number(button)});
        QTest::qWait(400);
    }
    // A click on row `row` of the context menu that opened at the pointer: rows are 20 pixels
    // high below the menu's 1-pixel frame.
    void chooseMenuRow(QPoint menuAt, int row) { clickAt(menuAt + QPoint(30, 1 + 20 * row + 10)); }

    QString advancedLayout;
};

TEST_F(MacroEditorEndToEndTest, DeleteAndEditAPauseFromTheContextMenuThenSave) {
    // The default Macro.dat: macro 0 "Hello" is SHIFT-down, 20 ms, H-down, 25 ms, H-up, ...
    const QString before = macroValue(macroFile(), "0");
    ASSERT_EQ(before.mid(60, 3), "012");

    clickAt(skinRect(layout, "BUTTONPOS", 10).center()); // the Macros tab
    const QRect names = skinRect(advancedLayout, "MACRODISPLAY", 1);
    const QRect events = skinRect(advancedLayout, "MACRODISPLAY", 2);
    ASSERT_FALSE(events.isEmpty());
    clickAt(names.topLeft() + QPoint(30, 6)); // the first name: "Hello"

    // The lines' height in the editor's look, as the driver's lists have it.
    QListWidget probe;
    veldran::applyMacroControlStyle(probe);
    probe.addItem(QStringLiteral("[Down]SHIFT"));
    const int line = probe.sizeHintForRow(0);
    ASSERT_GT(line, 0);
    const auto lineCentre = [&](int k) {
        return events.topLeft() + QPoint(40, 2 + line * k + line / 2);
    };

    // Delete the first event (SHIFT-down): "Apagar item" is the menu's fifth row.
    const QPoint first = lineCentre(0);
    clickAt(first, 3);
    chooseMenuRow(first, 4);

    // Edit the pause after the new first event (H-down, 25 ms): "Modificar Delay", the fourth row.
    const QPoint pause = lineCentre(1);
    clickAt(pause, 3);
    chooseMenuRow(pause, 3);
    run("xdotool", {"type", "--delay", "50", "250"});
    run("xdotool", {"key", "Return"});
    QTest::qWait(300);

    EXPECT_EQ(macroValue(macroFile(), "0"), before);             // in memory until saved
    clickAt(skinRect(advancedLayout, "BUTTONPOS", 20).center()); // Save macros
    ASSERT_TRUE(QTest::qWaitFor([&] { return macroValue(macroFile(), "0") != before; }, 3000));
    const QString after = macroValue(macroFile(), "0");
    SCOPED_TRACE(after.left(120).toStdString());
    EXPECT_EQ(after.left(60), before.left(60));       // the name
    EXPECT_EQ(after.mid(60, 3), "011");               // one event fewer
    EXPECT_EQ(after.mid(63, 12), "072001250000");     // H-down, then 250 ms
    EXPECT_EQ(after.mid(75, 12), before.mid(87, 12)); // H-up and its pause, one place back
    EXPECT_EQ(macroValue(macroFile(), "1"),
              macroValue(readText(env("VELDRAN_SOURCE_DIR") + "/resources/Macro.dat"), "1"));
}

} // namespace
