// What the X server holds, for end-to-end tests that xdotool cannot answer: top-level windows by
// position, their shapes (X Shape extension: what is drawn and what takes the pointer), screen
// pixels, the requests a program sends to the window manager through the root window, and
// pointer events sent straight to a program's window, the keys held down and the keys a focused
// window of the probe's own receives.
#pragma once

#include <QHash>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QRgb>

namespace veldran::testing {

class XServerProbe {
public:
    XServerProbe();
    ~XServerProbe();
    XServerProbe(const XServerProbe&) = delete;
    XServerProbe& operator=(const XServerProbe&) = delete;

    bool ok() const { return display_ != nullptr; }

    // The topmost mapped top-level window whose top-left corner lies within tolerance pixels
    // of corner (screen pixels, each axis), or 0.
    unsigned long topLevelAt(QPoint corner, int tolerance = 0) const;
    // Screen rectangle of window.
    QRect geometry(unsigned long window) const;
    // The window's bounding shape (the pixels it shows) and input shape (where it takes the
    // pointer), in its own pixels; without a shape of its own, its whole rectangle.
    QRegion boundingShape(unsigned long window) const;
    QRegion inputShape(unsigned long window) const;
    // The colour of one screen pixel.
    QRgb pixel(QPoint at) const;

    // A pointer move to, and a left-button press and release at, a point of window, sent to the
    // program that made the window (XSendEvent): for servers where XTest cannot move the
    // pointer, as XWayland in a session without a seat.
    void sendPointerMove(unsigned long window, QPoint at);
    void sendClick(unsigned long window, QPoint at);

    // From now on, collects the client messages sent to the root window.
    void watchRootMessages();
    // Whether window asked the window manager to iconify it (WM_CHANGE_STATE, IconicState) since
    // watchRootMessages, waiting up to timeoutMs for it.
    bool askedToIconify(unsigned long window, int timeoutMs);

    // The keycodes the server holds down now, and the keycode of a keysym.
    QList<int> keysDown() const;
    int keycodeOf(unsigned long keysym) const;
    // Maps a window of the probe's own at the screen's far corner and gives it the keyboard
    // focus; from then on it counts the key presses it receives (auto-repeats included).
    void startKeyLog();
    // Presses of keycode received since startKeyLog, reading what has arrived.
    int keyPresses(int keycode);

private:
    QRegion shape(unsigned long window, int kind) const;
    void sendPointer(unsigned long window, QPoint at, int type, unsigned int state);
    void* display_; // Display*
    unsigned long keyLog_ = 0;
    QHash<int, int> presses_;
};

} // namespace veldran::testing
