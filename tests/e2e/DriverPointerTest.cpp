// The driver program under X with the virtual mouse: real clicks on the real window (profile 2,
// a DPI choice, apply, save), checked in the reports the virtual mouse printed and in config.ini.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QString env(const char* name) {
    return QString::fromLocal8Bit(qgetenv(name));
}

// The value of key in section of an INI text ("" when absent).
QString iniValue(const QString& text, const QString& section, const QString& key) {
    bool inSection = false;
    for (const QString& raw : text.split('\n')) {
        const QString line = raw.trimmed();
        if (line.startsWith('[')) {
            inSection = line.compare('[' + section + ']', Qt::CaseInsensitive) == 0;
        } else if (inSection && line.section('=', 0, 0).trimmed() == key) {
            return line.section('=', 1).trimmed();
        }
    }
    return {};
}

// Centre of main element index, read from the skin's layout file.
QPoint elementCentre(const QString& layout, int index) {
    const QRegularExpression entry(
        QStringLiteral("^%1=[^,]*,(-?\\d+),(-?\\d+),(\\d+),(\\d+),").arg(index),
        QRegularExpression::MultilineOption);
    const QRegularExpressionMatch m = entry.match(layout);
    if (!m.hasMatch()) {
        return {-1, -1};
    }
    return {m.captured(1).toInt() + m.captured(3).toInt() / 2,
            m.captured(2).toInt() + m.captured(4).toInt() / 2};
}

QString run(const QString& program, const QStringList& args, int timeoutMs = 10000) {
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

class DriverPointerTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (env("DISPLAY").isEmpty() || QStandardPaths::findExecutable("xdotool").isEmpty()) {
            GTEST_SKIP() << "needs an X server and xdotool";
        }
        const QString bin = env("VELDRAN_BIN_DIR");
        const QString source = env("VELDRAN_SOURCE_DIR");
        ASSERT_TRUE(dir.isValid());
        // A private copy of the program beside its own settings and skin.
        const QString app = dir.path();
        ASSERT_TRUE(QFile::copy(bin + "/veldran-driver", app + "/veldran-driver"));
        ASSERT_TRUE(QFile::copy(source + "/resources/config.ini", app + "/config.ini"));
        ASSERT_TRUE(QFile::copy(source + "/resources/Macro.dat", app + "/Macro.dat"));
        QFile::setPermissions(app + "/config.ini", QFile::ReadOwner | QFile::WriteOwner);
        QDir().mkpath(app + "/skins");
        for (const QString& name : QDir(bin + "/skins").entryList(QDir::Files)) {
            ASSERT_TRUE(QFile::copy(bin + "/skins/" + name, app + "/skins/" + name));
        }
        QFile layoutFile(app + "/skins/skin_main_en.ini");
        ASSERT_TRUE(layoutFile.open(QIODevice::ReadOnly));
        layout = QString::fromUtf8(layoutFile.readAll());

        QDir().mkpath(app + "/runtime");
        QFile::setPermissions(app + "/runtime",
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        environment = QProcessEnvironment::systemEnvironment();
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
                     {"search", "--sync", "--onlyvisible", "--name", "^VELDRAN GAMING MOUSE$"});
        window = window.section('\n', 0, 0);
        ASSERT_FALSE(window.isEmpty());
        // The start-up Apply: seven buttons, the wheel and the DPI stage.
        ASSERT_TRUE(QTest::qWaitFor([&] { return features().size() >= 9; }, 5000));
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

    // Feature reports the virtual mouse printed so far.
    QStringList features() {
        printed += QString::fromUtf8(mouse.readAllStandardOutput());
        QStringList lines;
        for (const QString& line : printed.split('\n')) {
            if (line.startsWith("feature ")) {
                lines.append(line.mid(8).trimmed());
            }
        }
        return lines;
    }

    void clickElement(int index) {
        const QPoint at = elementCentre(layout, index);
        ASSERT_GE(at.x(), 0) << "element " << index;
        run("xdotool",
            {"mousemove", "--window", window, QString::number(at.x()), QString::number(at.y())});
        QTest::qWait(100);
        run("xdotool", {"click", "1"});
        QTest::qWait(300);
    }

    // Top-left corner of the window on the screen.
    QPoint windowPosition() {
        const QString shell = run("xdotool", {"getwindowgeometry", "--shell", window});
        QPoint at;
        for (const QString& line : shell.split('\n')) {
            if (line.startsWith("X=")) {
                at.setX(line.mid(2).toInt());
            } else if (line.startsWith("Y=")) {
                at.setY(line.mid(2).toInt());
            }
        }
        return at;
    }
    bool windowVisible(const QString& title = QStringLiteral("VELDRAN GAMING MOUSE")) {
        return !run("xdotool", {"search", "--onlyvisible", "--name", '^' + title + '$'}).isEmpty();
    }

    QString configText() {
        QFile file(dir.path() + "/config.ini");
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    QTemporaryDir dir;
    QProcessEnvironment environment;
    QString layout;
    QProcess mouse;
    QProcess driver;
    QString window;
    QString printed;
};

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

TEST_F(DriverPointerTest, HiddenWithoutANotificationAreaASecondStartShowsIt) {
    clickElement(13);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !windowVisible(); }, 3000));
    QProcess second;
    second.setProcessEnvironment(environment);
    second.start(dir.path() + "/veldran-driver", {"--virtual-mouse=unused"});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return windowVisible(); }, 5000));
    EXPECT_EQ(driver.state(), QProcess::Running);
}

TEST_F(DriverPointerTest, ButtonFieldOpensTheFunctionMenuAndTheNextPressClosesIt) {
    clickElement(19); // the field of button 3
    ASSERT_TRUE(QTest::qWaitFor([&] { return windowVisible("MainMenuDlg"); }, 3000));
    const QString menu =
        run("xdotool", {"search", "--onlyvisible", "--name", "^MainMenuDlg$"}).section('\n', 0, 0);
    QPoint menuAt;
    for (const QString& line : run("xdotool", {"getwindowgeometry", "--shell", menu}).split('\n')) {
        if (line.startsWith("X=")) {
            menuAt.setX(line.mid(2).toInt());
        } else if (line.startsWith("Y=")) {
            menuAt.setY(line.mid(2).toInt());
        }
    }
    // Directly below the field, aligned with its left edge.
    EXPECT_EQ(menuAt, windowPosition() + QPoint(30, 262 + 26));
    clickElement(30); // a label of the main page: any press closes the menu
    EXPECT_TRUE(QTest::qWaitFor([&] { return !windowVisible("MainMenuDlg"); }, 3000));
}

} // namespace
