#include "e2e/FakeSystemTray.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <poll.h>

namespace veldran::testing {

namespace {
constexpr int kTrayX = 600;
constexpr int kTrayY = 0;
constexpr int kTraySize = 22;
constexpr long kRequestDock = 0;

Display* asDisplay(void* display) {
    return static_cast<Display*>(display);
}
} // namespace

FakeSystemTray::FakeSystemTray() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return;
    }
    display_ = display;
    const Window root = DefaultRootWindow(display);
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.background_pixel = BlackPixel(display, DefaultScreen(display));
    trayWindow_ =
        XCreateWindow(display, root, kTrayX, kTrayY, kTraySize, kTraySize, 0, CopyFromParent,
                      InputOutput, CopyFromParent, CWOverrideRedirect | CWBackPixel, &attributes);
    XMapWindow(display, trayWindow_);

    const Atom selection = XInternAtom(display, "_NET_SYSTEM_TRAY_S0", False);
    opcodeAtom_ = XInternAtom(display, "_NET_SYSTEM_TRAY_OPCODE", False);
    XSetSelectionOwner(display, selection, trayWindow_, CurrentTime);
    ok_ = XGetSelectionOwner(display, selection) == trayWindow_;

    // Tell clients that a notification area has appeared.
    XEvent manager{};
    manager.xclient.type = ClientMessage;
    manager.xclient.window = root;
    manager.xclient.message_type = XInternAtom(display, "MANAGER", False);
    manager.xclient.format = 32;
    manager.xclient.data.l[0] = CurrentTime;
    manager.xclient.data.l[1] = static_cast<long>(selection);
    manager.xclient.data.l[2] = static_cast<long>(trayWindow_);
    XSendEvent(display, root, False, StructureNotifyMask, &manager);
    XSync(display, False);
    thread_ = std::thread([this] { run(); });
}

FakeSystemTray::~FakeSystemTray() {
    stop_ = true;
    if (thread_.joinable()) {
        thread_.join();
    }
    if (display_ != nullptr) {
        XDestroyWindow(asDisplay(display_), trayWindow_);
        XCloseDisplay(asDisplay(display_));
    }
}

QPoint FakeSystemTray::iconCenter() const {
    return {kTrayX + kTraySize / 2, kTrayY + kTraySize / 2};
}

void FakeSystemTray::run() {
    Display* display = asDisplay(display_);
    pollfd fd{ConnectionNumber(display), POLLIN, 0};
    while (!stop_) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == ClientMessage && event.xclient.message_type == opcodeAtom_ &&
                event.xclient.data.l[1] == kRequestDock) {
                const auto icon = static_cast<Window>(event.xclient.data.l[2]);
                XReparentWindow(display, icon, trayWindow_, 0, 0);
                XMoveResizeWindow(display, icon, 0, 0, kTraySize, kTraySize);
                XMapRaised(display, icon);
                XSync(display, False);
                ++docked_;
            }
        }
        poll(&fd, 1, 20);
    }
}

void FakeSystemTray::click(QPoint pos, unsigned button, int times) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return;
    }
    XTestFakeMotionEvent(display, -1, pos.x(), pos.y(), CurrentTime);
    for (int i = 0; i < times; ++i) {
        XTestFakeButtonEvent(display, button, True, 20);
        XTestFakeButtonEvent(display, button, False, 20);
    }
    XSync(display, False);
    XCloseDisplay(display);
}

void FakeSystemTray::button(QPoint pos, unsigned button, bool down) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return;
    }
    XTestFakeMotionEvent(display, -1, pos.x(), pos.y(), CurrentTime);
    XTestFakeButtonEvent(display, button, down ? True : False, 20);
    XSync(display, False);
    XCloseDisplay(display);
}

} // namespace veldran::testing
