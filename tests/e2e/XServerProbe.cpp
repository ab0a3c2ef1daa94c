// clang-format off
#include "e2e/XServerProbe.h"
// clang-format on

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>
// After Xlib: the helper uses its types.
#include "support/FocusedXWindow.h"

#include <chrono>
#include <cstdlib>
#include <thread>

namespace veldran::testing {

namespace {

Display* dpy(void* display) {
    return static_cast<Display*>(display);
}

} // namespace

XServerProbe::XServerProbe() : display_(XOpenDisplay(nullptr)) {}

XServerProbe::~XServerProbe() {
    if (display_ != nullptr && keyLog_ != 0) {
        XDestroyWindow(dpy(display_), keyLog_);
    }
    if (display_ != nullptr) {
        XCloseDisplay(dpy(display_));
    }
}

QRect XServerProbe::geometry(unsigned long window) const {
    Display* d = dpy(display_);
    XWindowAttributes attributes;
    if (XGetWindowAttributes(d, window, &attributes) == 0) {
        return {};
    }
    int x = 0;
    int y = 0;
    Window child = 0;
    XTranslateCoordinates(d, window, DefaultRootWindow(d), 0, 0, &x, &y, &child);
    return QRect(x, y, attributes.width, attributes.height);
}

unsigned long XServerProbe::topLevelAt(QPoint corner, int tolerance) const {
    Display* d = dpy(display_);
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    unsigned long found = 0;
    if (XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count) == 0) {
        return 0;
    }
    // Topmost first: the list is in stacking order, bottom to top.
    for (unsigned int i = count; i-- > 0 && found == 0;) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(d, children[i], &attributes) != 0 &&
            attributes.map_state == IsViewable) {
            const QPoint offset = geometry(children[i]).topLeft() - corner;
            if (std::abs(offset.x()) <= tolerance && std::abs(offset.y()) <= tolerance) {
                found = children[i];
            }
        }
    }
    if (children != nullptr) {
        XFree(children);
    }
    return found;
}

QRegion XServerProbe::shape(unsigned long window, int kind) const {
    int count = 0;
    int ordering = 0;
    XRectangle* rects = XShapeGetRectangles(dpy(display_), window, kind, &count, &ordering);
    QRegion region;
    for (int i = 0; i < count; ++i) {
        region += QRect(rects[i].x, rects[i].y, rects[i].width, rects[i].height);
    }
    if (rects != nullptr) {
        XFree(rects);
    }
    return region;
}

QRegion XServerProbe::boundingShape(unsigned long window) const {
    return shape(window, ShapeBounding);
}

QRegion XServerProbe::inputShape(unsigned long window) const {
    return shape(window, ShapeInput);
}

QRgb XServerProbe::pixel(QPoint at) const {
    Display* d = dpy(display_);
    XImage* image = XGetImage(d, DefaultRootWindow(d), at.x(), at.y(), 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr) {
        return 0;
    }
    const unsigned long value = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    // TrueColor, 24 bits: 0xRRGGBB.
    return qRgb(static_cast<int>((value >> 16) & 0xff), static_cast<int>((value >> 8) & 0xff),
                static_cast<int>(value & 0xff));
}

void XServerProbe::sendPointer(unsigned long window, QPoint at, int type, unsigned int state) {
    Display* d = dpy(display_);
    const QPoint onScreen = geometry(window).topLeft() + at;
    XEvent event{};
    // Motion and button events share their first fields.
    XButtonEvent& e = event.xbutton;
    e.type = type;
    e.display = d;
    e.window = window;
    e.root = DefaultRootWindow(d);
    e.time = CurrentTime;
    e.x = at.x();
    e.y = at.y();
    e.x_root = onScreen.x();
    e.y_root = onScreen.y();
    e.state = state;
    if (type != MotionNotify) {
        e.button = Button1;
    }
    e.same_screen = True;
    // No event mask: the event goes to the client that made the window.
    XSendEvent(d, window, False, 0, &event);
    XSync(d, False);
}

void XServerProbe::sendPointerMove(unsigned long window, QPoint at) {
    sendPointer(window, at, MotionNotify, 0);
}

void XServerProbe::sendClick(unsigned long window, QPoint at) {
    sendPointer(window, at, ButtonPress, 0);
    sendPointer(window, at, ButtonRelease, Button1Mask);
}

void XServerProbe::watchRootMessages() {
    Display* d = dpy(display_);
    // Requests to the window manager go to the root window with the redirect mask and a notify
    // mask; a client that selects that notify mask on the root receives them too.
    XSelectInput(d, DefaultRootWindow(d), StructureNotifyMask | SubstructureNotifyMask);
    XSync(d, False);
}

bool XServerProbe::askedToIconify(unsigned long window, int timeoutMs) {
    Display* d = dpy(display_);
    const Atom changeState = XInternAtom(d, "WM_CHANGE_STATE", False);
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < end) {
        while (XPending(d) > 0) {
            XEvent event;
            XNextEvent(d, &event);
            if (event.type == ClientMessage && event.xclient.message_type == changeState &&
                event.xclient.window == window && event.xclient.data.l[0] == IconicState) {
                return true;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

QList<int> XServerProbe::keysDown() const {
    char keys[32] = {};
    XQueryKeymap(dpy(display_), keys);
    QList<int> down;
    for (int code = 0; code < 256; ++code) {
        if ((keys[code / 8] & (1 << (code % 8))) != 0) {
            down.append(code);
        }
    }
    return down;
}

int XServerProbe::keycodeOf(unsigned long keysym) const {
    return XKeysymToKeycode(dpy(display_), static_cast<KeySym>(keysym));
}

void XServerProbe::startKeyLog() {
    Display* d = dpy(display_);
    const Screen* screen = DefaultScreenOfDisplay(d);
    keyLog_ = mapFocusedWindow(d, WidthOfScreen(screen) - 20, HeightOfScreen(screen) - 20, 20, 20);
    presses_.clear();
}

int XServerProbe::keyPresses(int keycode) {
    Display* d = dpy(display_);
    while (keyLog_ != 0 && XPending(d) > 0) {
        XEvent event;
        XNextEvent(d, &event);
        if (event.type == KeyPress && event.xkey.window == keyLog_) {
            ++presses_[static_cast<int>(event.xkey.keycode)];
        }
    }
    return presses_.value(keycode);
}

} // namespace veldran::testing
