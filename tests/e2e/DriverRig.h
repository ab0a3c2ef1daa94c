// The driver program under X with the virtual mouse, for end-to-end tests: a private copy of the
// program beside its own settings and skin, its own runtime folder (so its single instance is
// its own), the virtual mouse's printed reports, and xdotool for real pointer events.
#pragma once

#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace veldran::testing {

inline QString env(const char* name) {
    return QString::fromLocal8Bit(qgetenv(name));
}

// The value of key in section of an INI text ("" when absent).
inline QString iniValue(const QString& text, const QString& section, const QString& key) {
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

// Rectangle of main element index, read from the skin's layout file.
inline QRect elementRect(const QString& layout, int index) {
    const QRegularExpression entry(
        QStringLiteral("^%1=[^,]*,(-?\\d+),(-?\\d+),(\\d+),(\\d+),").arg(index),
        QRegularExpression::MultilineOption);
    const QRegularExpressionMatch m = entry.match(layout);
    if (!m.hasMatch()) {
        return {};
    }
    return {m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt(),
            m.captured(4).toInt()};
}

// Rectangle of entry `key` of a skin layout text ("key=label,x,y,w,h,..."), in the section given.
inline QRect skinRect(const QString& layout, const QString& section, int key) {
    const qsizetype start = layout.indexOf('[' + section + ']');
    const QRegularExpression entry(
        QStringLiteral("^%1=[^,]*,(-?\\d+),(-?\\d+),(\\d+),(\\d+),").arg(key),
        QRegularExpression::MultilineOption);
    const QRegularExpressionMatch m = entry.match(layout, start < 0 ? 0 : start);
    return m.hasMatch() ? QRect(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt(),
                                m.captured(4).toInt())
                        : QRect();
}

// Centre of main element index ({-1, -1} when the layout has no such element).
inline QPoint elementCentre(const QString& layout, int index) {
    const QRect r = elementRect(layout, index);
    return r.isNull() ? QPoint(-1, -1) : QPoint(r.x() + r.width() / 2, r.y() + r.height() / 2);
}

inline QString run(const QString& program, const QStringList& args, int timeoutMs = 10000) {
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

// "X=..", "Y=.." of xdotool's --shell output as a point.
inline QPoint shellPoint(const QString& shell) {
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

// Writes programs.ini into the program's folder app, and makes profile 3 differ from profile 1
// in the code of DPI stage 1, so that a switch between them shows in the DPI report.
inline void writeProgramRules(const QString& app, const QByteArray& rules) {
    QFile file(app + "/programs.ini");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(rules);
    QFile config(app + "/config.ini");
    ASSERT_TRUE(config.open(QIODevice::ReadWrite));
    QString text = QString::fromUtf8(config.readAll());
    const qsizetype at = text.indexOf("DPI_SET1=1", text.indexOf("[Config3]"));
    ASSERT_GE(at, 0);
    text.replace(at, 10, "DPI_SET1=3");
    config.resize(0);
    config.write(text.toUtf8());
}

class DriverRig : public ::testing::Test {
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
        ASSERT_TRUE(QFile::copy(source + "/resources/config.ini", app + "/config.ini"));
        ASSERT_TRUE(QFile::copy(source + "/resources/Macro.dat", app + "/Macro.dat"));
        QFile::setPermissions(app + "/config.ini", QFile::ReadOwner | QFile::WriteOwner);
        QFile::setPermissions(app + "/Macro.dat", QFile::ReadOwner | QFile::WriteOwner);
        QDir().mkpath(app + "/skins");
        for (const QString& name : QDir(bin + "/skins").entryList(QDir::Files)) {
            ASSERT_TRUE(QFile::copy(bin + "/skins/" + name, app + "/skins/" + name));
        }
        prepareFolder(app);
        QFile layoutFile(app + "/skins/skin_main_en.ini");
        ASSERT_TRUE(layoutFile.open(QIODevice::ReadOnly));
        layout = QString::fromUtf8(layoutFile.readAll());

        QDir().mkpath(app + "/runtime");
        QFile::setPermissions(app + "/runtime",
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_RUNTIME_DIR", app + "/runtime");
        environment.insert("VELDRAN_RUNTIME_DIR", app + "/runtime");
        for (auto it = extraEnvironment.cbegin(); it != extraEnvironment.cend(); ++it) {
            environment.insert(it.key(), it.value());
        }
        for (const QString& name : unsetEnvironment) {
            environment.remove(name);
        }
        const QString socket = app + "/runtime/mouse.sock";

        mouse.setProcessEnvironment(environment);
        mouse.start(bin + "/veldran-virtual-mouse", {"--socket", socket});
        ASSERT_TRUE(mouse.waitForStarted());
        ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(socket); }, 5000));

        driver.setProcessEnvironment(environment);
        driver.setProcessChannelMode(QProcess::ForwardedChannels);
        const QStringList arguments{app + "/veldran-driver", "--virtual-mouse=" + socket};
        if (driverLauncher.isEmpty()) {
            driver.start(arguments[0], arguments.mid(1));
        } else {
            driver.start(driverLauncher[0], driverLauncher.mid(1) + arguments);
        }
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

    // Changes to the program's folder before the driver starts.
    virtual void prepareFolder(const QString& /*app*/) {}

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
    // Moves the pointer to a screen point and lets the driver paint.
    static void moveTo(QPoint at) {
        run("xdotool", {"mousemove", QString::number(at.x()), QString::number(at.y())});
        QTest::qWait(250);
    }

    // Top-left corner of the window on the screen.
    QPoint windowPosition() {
        return shellPoint(run("xdotool", {"getwindowgeometry", "--shell", window}));
    }
    bool windowVisible(const QString& title = QStringLiteral("VELDRAN GAMING MOUSE")) {
        return !run("xdotool", {"search", "--onlyvisible", "--name", '^' + title + '$'}).isEmpty();
    }
    // Top-left corner of the visible window with this title ({-1, -1} when there is none).
    QPoint windowTitledAt(const QString& title) {
        const QString id = run("xdotool", {"search", "--onlyvisible", "--name", '^' + title + '$'})
                               .section('\n', 0, 0);
        return id.isEmpty() ? QPoint(-1, -1)
                            : shellPoint(run("xdotool", {"getwindowgeometry", "--shell", id}));
    }

    // What the running driver answers to --status, one item a line.
    QString driverStatus() {
        QProcess status;
        status.setProcessEnvironment(environment);
        status.start(dir.path() + "/veldran-driver", {"--status"});
        return status.waitForFinished(5000) ? QString::fromUtf8(status.readAllStandardOutput())
                                            : QString();
    }

    QString configText() {
        QFile file(dir.path() + "/config.ini");
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    QTemporaryDir dir;
    QMap<QString, QString> extraEnvironment; // for the driver, set before SetUp
    QStringList unsetEnvironment;            // left out of the driver's, set before SetUp
    QStringList driverLauncher; // a program that runs the driver (and execs it), set before SetUp
    QProcessEnvironment environment;
    QString layout;
    QProcess mouse;
    QProcess driver;
    QString window;
    QString printed;
};

} // namespace veldran::testing
