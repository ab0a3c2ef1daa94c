// Choosing a button's function end to end: the driver runs against the virtual mouse under a
// private X server; the pointer (XTest) presses the field of button 3, rests on row 10 of the
// function menu and releases on the first row of the advanced function menu; Apply then sends
// button 3 as a software function, and after the re-arming report a press of button 3 arrives
// at the focused window as Ctrl+C.
// clang-format off
// gtest comes before Xlib, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>
// clang-format on

#include "platform/ProfileStrings.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRect>
#include <QStringList>
#include <QTemporaryDir>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <optional>
#include <thread>

// Last: Xlib's macros (Bool, Status) must not come before the Qt headers.
#include "support/FocusedXWindow.h"

namespace veldran {
namespace {

using namespace std::chrono_literals;

bool waitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 10s) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

bool copyFolder(const QString& from, const QString& to) {
    QDir().mkpath(to);
    for (const QString& name : QDir(from).entryList(QDir::Files)) {
        if (!QFile::copy(from + '/' + name, to + '/' + name)) {
            return false;
        }
    }
    return true;
}

// The virtual mouse as a child process: commands on its standard input, the feature reports it
// prints collected line by line.
class VirtualMouse {
public:
    bool start(const QString& program, const QString& socket) {
        process_.setProcessChannelMode(QProcess::SeparateChannels);
        process_.start(program, {QStringLiteral("--socket"), socket});
        return process_.waitForStarted() && waitUntil([&socket] { return QFile::exists(socket); });
    }
    void command(const char* line) {
        process_.write(line);
        process_.write("\n");
        process_.waitForBytesWritten();
    }
    // Waits for a printed line starting with prefix (lowercase hex, as the virtual mouse prints).
    bool waitForLine(const QString& prefix, std::chrono::milliseconds timeout = 10s) {
        return waitUntil(
            [&] {
                process_.waitForReadyRead(10);
                while (process_.canReadLine()) {
                    lines_ << QString::fromUtf8(process_.readLine()).trimmed();
                }
                return std::any_of(lines_.begin(), lines_.end(),
                                   [&](const QString& line) { return line.startsWith(prefix); });
            },
            timeout);
    }
    void forgetLines() { lines_.clear(); }
    const QStringList& lines() const { return lines_; }
    ~VirtualMouse() {
        if (process_.state() != QProcess::NotRunning) {
            command("quit");
            if (!process_.waitForFinished(3000)) {
                process_.kill();
                process_.waitForFinished();
            }
        }
    }

private:
    QProcess process_;
    QStringList lines_;
};

// The driver as a child process, ended when the test ends however it ends.
class Driver {
public:
    bool start(const QString& program, const QString& socket) {
        process_.start(program, {"--virtual-mouse=" + socket});
        return process_.waitForStarted();
    }
    ~Driver() {
        if (process_.state() != QProcess::NotRunning) {
            process_.terminate();
            if (!process_.waitForFinished(5000)) {
                process_.kill();
                process_.waitForFinished();
            }
        }
    }

private:
    QProcess process_;
};

// Top-level X windows and the pointer and keyboard of the private X server.
class Screen {
public:
    Screen() : display_(XOpenDisplay(nullptr)) {}
    ~Screen() {
        if (display_ != nullptr) {
            XCloseDisplay(display_);
        }
    }
    Display* display() const { return display_; }

    // Screen rectangle of the viewable top-level window with this title.
    std::optional<QRect> windowTitled(const char* title) {
        return findWindow([&](Window w) {
            char* name = nullptr;
            const bool match = XFetchName(display_, w, &name) != 0 && name != nullptr &&
                               std::string(name) == title;
            if (name != nullptr) {
                XFree(name);
            }
            return match;
        });
    }
    // Screen rectangle of the viewable top-level window whose top-left corner is at.
    std::optional<QRect> windowAt(QPoint at) {
        return findWindow([&](Window w) { return rectOf(w).topLeft() == at; });
    }

    void click(QPoint at) {
        moveTo(at);
        XTestFakeButtonEvent(display_, 1, True, 0);
        XTestFakeButtonEvent(display_, 1, False, 0);
        XSync(display_, False);
        std::this_thread::sleep_for(100ms);
    }
    void moveTo(QPoint at) {
        XTestFakeMotionEvent(display_, -1, at.x(), at.y(), 0);
        XSync(display_, False);
        std::this_thread::sleep_for(100ms);
    }

private:
    QRect rectOf(Window w) {
        XWindowAttributes attributes;
        XGetWindowAttributes(display_, w, &attributes);
        int x = 0;
        int y = 0;
        Window child = 0;
        XTranslateCoordinates(display_, w, DefaultRootWindow(display_), 0, 0, &x, &y, &child);
        return QRect(x, y, attributes.width, attributes.height);
    }
    std::optional<QRect> findWindow(const std::function<bool(Window)>& match) {
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        std::optional<QRect> found;
        if (XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count) ==
            0) {
            return found;
        }
        for (unsigned int i = 0; i < count && !found; ++i) {
            XWindowAttributes attributes;
            if (XGetWindowAttributes(display_, children[i], &attributes) != 0 &&
                attributes.map_state == IsViewable && match(children[i])) {
                found = rectOf(children[i]);
            }
        }
        if (children != nullptr) {
            XFree(children);
        }
        return found;
    }

    Display* display_;
};

// A window of this test that holds the keyboard focus and records the keys it receives.
class KeyWitness {
public:
    explicit KeyWitness(Display* display)
        : display_(display), window_(veldran::testing::mapFocusedWindow(display, 900, 700)) {}
    ~KeyWitness() { XDestroyWindow(display_, window_); }

    // Key events (keysym, pressed, modifier state) until count arrived or a few seconds passed.
    struct Key {
        KeySym keysym;
        bool pressed;
        unsigned int state;
    };
    std::vector<Key> receive(std::size_t count) {
        std::vector<Key> keys;
        waitUntil(
            [&] {
                while (XPending(display_) > 0 && keys.size() < count) {
                    XEvent event;
                    XNextEvent(display_, &event);
                    if (event.type == KeyPress || event.type == KeyRelease) {
                        keys.push_back({XLookupKeysym(&event.xkey, 0), event.type == KeyPress,
                                        event.xkey.state});
                    }
                }
                return keys.size() >= count;
            },
            5s);
        return keys;
    }

private:
    Display* display_;
    Window window_ = 0;
};

// Rectangle of main element index from the skin's layout file ("label,x,y,width,height,text").
QRect mainElement(const QString& skinFolder, int index) {
    const std::string value = ProfileStrings::get((skinFolder + "/skin_main_en.ini").toStdString(),
                                                  "BUTTONPOS", std::to_string(index), "", 260);
    const QStringList fields = QString::fromStdString(value).split(',');
    if (fields.size() < 5) {
        return {};
    }
    return QRect(fields[1].trimmed().toInt(), fields[2].trimmed().toInt(),
                 fields[3].trimmed().toInt(), fields[4].trimmed().toInt());
}

TEST(FunctionMenuEndToEnd, CopyChosenInTheMenusReachesTheMouseAndRunsOnPress) {
    if (std::getenv("DISPLAY") == nullptr || std::getenv("VELDRAN_BIN_DIR") == nullptr) {
        GTEST_SKIP() << "needs an X display and the built executables";
    }
    const QString bin = QString::fromLocal8Bit(std::getenv("VELDRAN_BIN_DIR"));
    Screen screen;
    ASSERT_NE(screen.display(), nullptr);

    // The driver runs from a folder of its own, so that Apply writes a config.ini of this test.
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString app = folder.path();
    ASSERT_TRUE(QFile::copy(bin + "/veldran-driver", app + "/veldran-driver"));
    ASSERT_TRUE(QFile::copy(bin + "/config.ini", app + "/config.ini"));
    ASSERT_TRUE(QFile::copy(bin + "/Macro.dat", app + "/Macro.dat"));
    ASSERT_TRUE(copyFolder(bin + "/skins", app + "/skins"));
    const QString skins = app + "/skins";

    VirtualMouse mouse;
    const QString socket = app + "/mouse.sock";
    ASSERT_TRUE(mouse.start(bin + "/veldran-virtual-mouse", socket));

    Driver driver;
    ASSERT_TRUE(driver.start(app + "/veldran-driver", socket));
    // The start-up Apply ends with the DPI report.
    ASSERT_TRUE(mouse.waitForLine("feature 07 09")) << mouse.lines().join('\n').toStdString();
    std::optional<QRect> mainWindow;
    ASSERT_TRUE(waitUntil(
        [&] { return (mainWindow = screen.windowTitled("VELDRAN GAMING MOUSE")).has_value(); }));
    mouse.forgetLines();

    // The field of button 3 opens the function menu right below it.
    const QRect field = mainElement(skins, 19);
    ASSERT_FALSE(field.isEmpty());
    screen.click(mainWindow->topLeft() + field.center());
    std::optional<QRect> menu;
    ASSERT_TRUE(waitUntil([&] { return (menu = screen.windowTitled("MainMenuDlg")).has_value(); }));
    EXPECT_EQ(menu->topLeft(), mainWindow->topLeft() + QPoint(field.x(), field.bottom() + 1));

    // Resting on row 10 opens the advanced function menu beside the menu, level with its top.
    const QSize menuMask = QImage(skins + "/menu_mask.jpg").size();
    const int row = menuMask.height() / 10;
    screen.moveTo(menu->topLeft() + QPoint(10, 9 * row + row / 2));
    const QPoint advancedCorner = menu->topLeft() + QPoint(menuMask.width(), 0);
    ASSERT_TRUE(waitUntil([&] { return screen.windowAt(advancedCorner).has_value(); }));

    // Its first row is Ctrl+C, FunctionCode 31; both menus close.
    const int advancedRow = QImage(skins + "/advanced menu_mask.jpg").height() / 12;
    const QPoint firstRow = advancedCorner + QPoint(12, advancedRow / 2);
    screen.moveTo(firstRow + QPoint(-2, 0));
    screen.click(firstRow);
    EXPECT_TRUE(waitUntil([&] { return !screen.windowTitled("MainMenuDlg"); }));

    // Apply sends button 3 (identifier 3) as device value 31.
    screen.click(mainWindow->topLeft() + mainElement(skins, 3).center());
    EXPECT_TRUE(mouse.waitForLine("feature 07 10 03 1f")) << mouse.lines().join('\n').toStdString();

    // Re-armed, a press of button 3 makes the driver type Ctrl+C into the focused window.
    KeyWitness witness(screen.display());
    mouse.command("rearm");
    mouse.command("press 3");
    const auto keys = witness.receive(4);
    ASSERT_EQ(keys.size(), 4u);
    EXPECT_EQ(keys[0].keysym, static_cast<KeySym>(XK_Control_L));
    EXPECT_TRUE(keys[0].pressed);
    EXPECT_EQ(keys[1].keysym, static_cast<KeySym>(XK_c));
    EXPECT_TRUE(keys[1].pressed);
    EXPECT_TRUE(keys[1].state & ControlMask);
    EXPECT_EQ(keys[2].keysym, static_cast<KeySym>(XK_c));
    EXPECT_FALSE(keys[2].pressed);
    EXPECT_EQ(keys[3].keysym, static_cast<KeySym>(XK_Control_L));
    EXPECT_FALSE(keys[3].pressed);
}

} // namespace
} // namespace veldran
