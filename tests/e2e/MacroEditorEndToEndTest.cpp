// The macro editor end to end: the driver runs against the virtual mouse under a private X server;
// real pointer events (xdotool) open the advanced page, choose a macro, open the event list's
// context menu and choose "Apagar item" and "Modificar Delay" from it; a pause typed over its line
// and the Save button then reach Macro.dat.
#include "macro/MacroControlStyle.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace veldran {
namespace {

QString env(const char* name) {
    return QString::fromLocal8Bit(qgetenv(name));
}

QString run(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

// Rectangle of entry `key` of a skin layout text ("key=label,x,y,w,h,..."), in the section given.
QRect skinRect(const QString& layout, const QString& section, int key) {
    const qsizetype start = layout.indexOf('[' + section + ']');
    const QRegularExpression entry(
        QStringLiteral("^%1=[^,]*,(-?\\d+),(-?\\d+),(\\d+),(\\d+),").arg(key),
        QRegularExpression::MultilineOption);
    const QRegularExpressionMatch m = entry.match(layout, start < 0 ? 0 : start);
    return m.hasMatch() ? QRect(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt(),
                                m.captured(4).toInt())
                        : QRect();
}

// The value of key in the [Macros] section of a Macro.dat text.
QString macroValue(const QString& text, const QString& key) {
    for (const QString& line : text.split('\n')) {
        if (line.startsWith(key + '=')) {
            return line.mid(key.size() + 1).trimmed();
        }
    }
    return {};
}

class MacroEditorEndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (env("DISPLAY").isEmpty() || QStandardPaths::findExecutable("xdotool").isEmpty()) {
            GTEST_SKIP() << "needs an X server and xdotool";
        }
        const QString bin = env("VELDRAN_BIN_DIR");
        const QString source = env("VELDRAN_SOURCE_DIR");
        ASSERT_TRUE(dir.isValid());
        const QString app = dir.path();
        ASSERT_TRUE(QFile::copy(bin + "/veldran-driver", app + "/veldran-driver"));
        for (const char* name : {"config.ini", "Macro.dat"}) {
            ASSERT_TRUE(QFile::copy(source + "/resources/" + name, app + '/' + name));
            QFile::setPermissions(app + '/' + name, QFile::ReadOwner | QFile::WriteOwner);
        }
        QDir().mkpath(app + "/skins");
        for (const QString& name : QDir(bin + "/skins").entryList(QDir::Files)) {
            ASSERT_TRUE(QFile::copy(bin + "/skins/" + name, app + "/skins/" + name));
        }
        mainLayout = readText(app + "/skins/skin_main_en.ini");
        advancedLayout = readText(app + "/skins/skin_advance_en.ini");

        QDir().mkpath(app + "/runtime");
        QFile::setPermissions(app + "/runtime",
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_RUNTIME_DIR", app + "/runtime");
        const QString socket = app + "/runtime/mouse.sock";
        mouse.setProcessEnvironment(environment);
        mouse.start(bin + "/veldran-virtual-mouse", {"--socket", socket});
        ASSERT_TRUE(mouse.waitForStarted());
        ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(socket); }, 5000));
        driver.setProcessEnvironment(environment);
        driver.setProcessChannelMode(QProcess::ForwardedChannels);
        driver.start(app + "/veldran-driver", {"--virtual-mouse=" + socket});
        ASSERT_TRUE(driver.waitForStarted());
        window = run("xdotool",
                     {"search", "--sync", "--onlyvisible", "--name", "^VELDRAN GAMING MOUSE$"})
                     .section('\n', 0, 0);
        ASSERT_FALSE(window.isEmpty());
        QTest::qWait(500); // the start-up Apply
    }

    void TearDown() override {
        if (driver.state() != QProcess::NotRunning) {
            driver.terminate();
            if (!driver.waitForFinished(3000)) {
                driver.kill();
                driver.waitForFinished();
            }
        }
        if (mouse.state() != QProcess::NotRunning) {
            mouse.write("quit\n");
            if (!mouse.waitForFinished(3000)) {
                mouse.kill();
                mouse.waitForFinished();
            }
        }
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

    QTemporaryDir dir;
    QString mainLayout;
    QString advancedLayout;
    QProcess mouse;
    QProcess driver;
    QString window;
};

TEST_F(MacroEditorEndToEndTest, DeleteAndEditAPauseFromTheContextMenuThenSave) {
    // The default Macro.dat: macro 0 "Hello" is SHIFT-down, 20 ms, H-down, 25 ms, H-up, ...
    const QString before = macroValue(macroFile(), "0");
    ASSERT_EQ(before.mid(60, 3), "012");

    clickAt(skinRect(mainLayout, "BUTTONPOS", 10).center()); // the Macros tab
    const QRect names = skinRect(advancedLayout, "MACRODISPLAY", 1);
    const QRect events = skinRect(advancedLayout, "MACRODISPLAY", 2);
    ASSERT_FALSE(events.isEmpty());
    clickAt(names.topLeft() + QPoint(30, 6)); // the first name: "Hello"

    // The lines' height in the editor's look, as the driver's lists have it.
    QListWidget probe;
    applyMacroControlStyle(probe);
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
} // namespace veldran
