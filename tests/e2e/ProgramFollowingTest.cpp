// Profiles follow the program in front on a real X server: xev and a window of the test's own
// process take the focus as a window manager would give it (the root's _NET_ACTIVE_WINDOW). The
// running driver sends the rule's profile to the virtual mouse and back; the watcher and the
// rules alone, with a stand-in notification service on the private session bus, show that each
// switch is announced as "Profile N", replacing the notification before, and that a click on a
// window picks its program.
// clang-format off
// gtest comes before Xlib, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>
// clang-format on

#include "control/ProfileNotifier.h"
#include "control/ProgramRuleSwitcher.h"
#include "e2e/DriverRig.h"
#include "fakes/FakeProfileSwitcher.h"
#include "platform/linux/X11ActiveWindow.h"

#include <QDBusConnection>
#include <QProcess>
#include <QTest>
#include <QVariantMap>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cstdlib>
#include <optional>
#include <unistd.h>

// Last: Xlib's macros (Bool, Status) must not come before the Qt headers.
#include "support/FocusedXWindow.h"

namespace veldran {

// Takes the notifications sent on the session bus, answering each with a new identifier.
class StandInNotifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    StandInNotifications()
        : bus_(QDBusConnection::connectToBus(QDBusConnection::SessionBus, kConnection)) {
        ok = bus_.registerObject(QStringLiteral("/org/freedesktop/Notifications"), this,
                                 QDBusConnection::ExportAllSlots) &&
             bus_.registerService(kService);
    }
    ~StandInNotifications() override {
        bus_.unregisterService(kService);
        QDBusConnection::disconnectFromBus(kConnection);
    }

    bool ok = false;
    struct Shown {
        uint replaces;
        QString summary;
        int timeout;
    };
    std::vector<Shown> shown;

public slots:
    uint Notify(const QString&, uint replaces, const QString&, const QString& summary,
                const QString&, const QStringList&, const QVariantMap&, int timeout) {
        shown.push_back({replaces, summary, timeout});
        return static_cast<uint>(40 + shown.size());
    }

private:
    inline static const QString kConnection = QStringLiteral("veldran-stand-in-notifications");
    inline static const QString kService = QStringLiteral("org.freedesktop.Notifications");
    QDBusConnection bus_;
};

namespace {

// The top-level window titled title, or 0.
Window windowTitled(Display* display, const char* title) {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count) != 0) {
        for (unsigned i = 0; i < count && found == 0; ++i) {
            char* name = nullptr;
            if (XFetchName(display, children[i], &name) != 0) {
                found = std::string(name) == title ? children[i] : 0;
                XFree(name);
            }
        }
        XFree(children);
    }
    return found;
}

// xev, a real X client, with its window at the screen's top-left corner (200 x 100).
struct XevProgram {
    explicit XevProgram(Display* display) {
        process.start(QStringLiteral("xev"),
                      {QStringLiteral("-geometry"), QStringLiteral("200x100+0+0")});
        if (process.waitForStarted()) {
            (void)QTest::qWaitFor(
                [&] { return (window = windowTitled(display, "Event Tester")) != 0; }, 10000);
        }
    }
    ~XevProgram() {
        process.kill();
        process.waitForFinished();
    }

    QProcess process;
    Window window = 0;
};

// What the tests work with: their own X connection, the stand-in notification service and xev.
struct Desktop {
    Desktop() : display(XOpenDisplay(nullptr)), xev(display) {}
    ~Desktop() {
        if (display != nullptr) {
            XCloseDisplay(display);
        }
    }
    bool ready() const { return display != nullptr && service.ok && xev.window != 0; }

    Display* display;
    StandInNotifications service;
    XevProgram xev;
};

// What a window manager does when it gives window the focus.
void makeActive(Display* display, Window window) {
    const Atom active = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
    const unsigned long value = window;
    XChangeProperty(display, DefaultRootWindow(display), active, XA_WINDOW, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&value), 1);
    XFlush(display);
}

TEST(ProgramFollowing, RulesFollowTheActiveWindowEachSwitchIsAnnouncedAndAClickPicksAProgram) {
    if (std::getenv("DISPLAY") == nullptr || std::getenv("DBUS_SESSION_BUS_ADDRESS") == nullptr) {
        GTEST_SKIP() << "needs an X display and a session bus";
    }
    Desktop desktop;
    ASSERT_TRUE(desktop.ready());
    Display* display = desktop.display;
    const Window xevWindow = desktop.xev.window;
    StandInNotifications& service = desktop.service;

    // Neither xev's window nor this one carries WM_CLASS or _NET_WM_PID: the X server tells
    // whose they are.
    const Window own = testing::mapFocusedWindow(display, 300, 0);

    testing::FakeProfileSwitcher switcher(1);
    ProgramRuleSwitcher rules(switcher);
    rules.setRules({true, true, {{"XEV", 3}, {executableNameOf(::getpid()), 2}}});
    X11ActiveWindow watcher([&rules](const WindowProgram& p) { rules.focusChanged(p); });
    ASSERT_TRUE(watcher.watching());
    ProfileNotifier notifier(QDBusConnection::sessionBus(), {[] { return true; }, {}});
    notifier.listenTo(switcher);

    makeActive(display, xevWindow);
    EXPECT_TRUE(QTest::qWaitFor([&] { return switcher.currentProfile() == 3; }, 5000));
    makeActive(display, own);
    EXPECT_TRUE(QTest::qWaitFor([&] { return switcher.currentProfile() == 2; }, 5000));
    makeActive(display, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return switcher.currentProfile() == 1; }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return service.shown.size() == 3; }, 5000));
    EXPECT_EQ(service.shown[0].summary, "Profile 3");
    EXPECT_EQ(service.shown[0].replaces, 0u);
    EXPECT_EQ(service.shown[0].timeout, 1500);
    EXPECT_EQ(service.shown[1].summary, "Profile 2");
    EXPECT_EQ(service.shown[1].replaces, 41u);
    EXPECT_EQ(service.shown[2].replaces, 42u);
    for (const auto& [profile, cause] : switcher.selections) {
        EXPECT_EQ(cause, SwitchCause::ProgramRule) << profile;
    }
    EXPECT_EQ(switcher.selections.size(), 3u);

    // Picking a program by clicking its window.
    std::optional<WindowProgram> picked;
    ASSERT_TRUE(watcher.pickWindow([&picked](const WindowProgram& p) { picked = p; }));
    testing::run("xdotool", {"mousemove", "100", "50", "click", "1"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return picked.has_value(); }, 5000));
    EXPECT_EQ(picked->executable, "xev");

    // A pick called off (Escape in the dialog, the dialog closed, 10 s) gives the pointer back.
    picked.reset();
    ASSERT_TRUE(watcher.pickWindow([&picked](const WindowProgram& p) { picked = p; }));
    auto grab = [display, own] {
        const int status = XGrabPointer(display, own, False, ButtonPressMask, GrabModeAsync,
                                        GrabModeAsync, 0, 0, CurrentTime);
        XUngrabPointer(display, CurrentTime);
        XSync(display, False);
        return status;
    };
    EXPECT_EQ(grab(), AlreadyGrabbed);
    watcher.cancelPick();
    QTest::qWait(100);
    EXPECT_EQ(grab(), GrabSuccess);
    testing::run("xdotool", {"mousemove", "100", "50", "click", "1"});
    QTest::qWait(300);
    EXPECT_FALSE(picked.has_value());

    XDestroyWindow(display, own);
}

class ProgramRulesInTheDriver : public testing::DriverRig {
protected:
    void prepareFolder(const QString& app) override {
        testing::writeProgramRules(app, "[Programs]\nXev=3\nbroken=9\n");
    }
};

TEST_F(ProgramRulesInTheDriver,
       ARuleSwitchWritesNoFileKeepsTheWindowsEditsAndOnlyHiddenIsItAnnounced) {
    Desktop desktop;
    ASSERT_TRUE(desktop.ready());
    Display* display = desktop.display;
    const Window xevWindow = desktop.xev.window;
    StandInNotifications& service = desktop.service;
    const int atStart = static_cast<int>(features().size());
    const QString configBefore = configText();
    clickElement(33); // "Page scroll" chosen in the window, not applied

    makeActive(display, xevWindow);
    ASSERT_TRUE(QTest::qWaitFor([&] { return features().size() >= atStart + 9; }, 5000));
    // DPI level 0 with code 3 and light mode 0: (3 + 8) x 16 = 0xb0; profile 3's line scroll.
    EXPECT_TRUE(features()[atStart + 8].startsWith("07 09 00 b0"));
    EXPECT_TRUE(features()[atStart + 7].startsWith("07 11 00"));
    // xev again: its profile is applied already, nothing is sent.
    makeActive(display, xevWindow);
    QTest::qWait(400);
    EXPECT_EQ(features().size(), atStart + 9);

    makeActive(display, window.toULong());
    ASSERT_TRUE(QTest::qWaitFor([&] { return features().size() >= atStart + 18; }, 5000));
    // The user's profile as it was applied, without the edit.
    EXPECT_TRUE(features()[atStart + 16].startsWith("07 11 00"));
    EXPECT_TRUE(features()[atStart + 17].startsWith("07 09 00 90"));
    QTest::qWait(400);
    EXPECT_EQ(features().size(), atStart + 18);
    EXPECT_TRUE(service.shown.empty()); // the window was in sight
    // Neither switch touched config.ini: the next start applies the user's profile.
    EXPECT_EQ(configText(), configBefore);

    // The edit outlived both switches: Apply sends it now.
    clickElement(3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return features().size() >= atStart + 27; }, 5000));
    EXPECT_TRUE(features()[atStart + 25].startsWith("07 11 01"));

    clickElement(13); // hide: without a notification area the window is minimised
    makeActive(display, xevWindow);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !service.shown.empty(); }, 5000));
    EXPECT_EQ(service.shown[0].summary, "Profile 3");
    EXPECT_EQ(features().size(), atStart + 36);
    EXPECT_EQ(testing::iniValue(configText(), "Init", "CurConfig"), "1");

    // A hand edit of programs.ini counts at once, without a restart.
    QFile rules(dir.path() + "/programs.ini");
    ASSERT_TRUE(rules.open(QIODevice::WriteOnly | QIODevice::Truncate));
    rules.write("[Programs]\nXev=4\n");
    rules.close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return features().size() >= atStart + 45; }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return service.shown.size() >= 2; }, 5000));
    EXPECT_EQ(service.shown[1].summary, "Profile 4");
}

} // namespace
} // namespace veldran

#include "ProgramFollowingTest.moc"
