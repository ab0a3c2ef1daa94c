#include "platform/linux/X11RecordKeyboardHook.h"

#include "platform/Log.h"
#include "platform/linux/X11KeyMap.h"

#include <QMetaObject>
#include <QObject>
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <X11/extensions/record.h>
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <optional>
#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/prctl.h>
#include <thread>
#include <unistd.h>

namespace veldran {
namespace {

// The capture thread's name, as the system lists the program's threads.
constexpr const char* kCaptureThreadName = "key-capture";

constexpr std::uint8_t kLeftControl = 0xA2;
constexpr std::uint8_t kRightControl = 0xA3;
constexpr std::uint8_t kLeftAlt = 0xA4;
constexpr std::uint8_t kRightAlt = 0xA5;

} // namespace

struct X11RecordKeyboardHook::Impl {
    std::string displayName;
    QObject receiver; // lives on the user-interface thread; posted keys are delivered through it
    Handler handler;
    // Counts captures, so that a key posted by an earlier capture is never delivered to a later
    // one. Read and written on the user-interface thread only.
    unsigned long generation = 0;
    bool warned = false;

    Display* control = nullptr;
    Display* data = nullptr;
    XRecordContext context = 0;
    int wakeFd = -1;
    std::thread thread;

    // Set by the capture thread once the server records for it (or could not start it).
    std::mutex startMutex;
    std::condition_variable startChanged;
    bool startSettled = false;
    bool recordingStarted = false;

    // Touched by the capture thread only while it runs.
    X11KeyMap keys;
    std::array<bool, 256> held{};
    // A key release not yet handed on: the server's auto-repeat sends a held key as a release
    // and a press with the same time stamp, which together are no key event at all.
    struct Release {
        unsigned int keycode = 0;
        unsigned int state = 0;
        unsigned long time = 0;
    };
    std::optional<Release> pendingRelease;
    // Whether the process could be dumped before the capture made it undumpable.
    int dumpableBefore = 1;

    void say(const char* why) {
        if (!warned) {
            logLine(std::string(why) + "; while recording a macro, only keys typed into the "
                                       "driver's own windows are recorded.");
            warned = true;
        }
    }

    // Capture thread: one recorded key event.
    void keyEvent(unsigned int keycode, bool down, unsigned int state) {
        const std::uint8_t code = keys.virtualKey(keycode, state);
        if (code == 0) {
            return; // no virtual key stands for this key
        }
        const bool alt = held[kLeftAlt] || held[kRightAlt];
        const bool ctrl = held[kLeftControl] || held[kRightControl];
        const KeyMessage message = keyMessageOf(code, down, alt, ctrl);
        held[code] = down;
        const unsigned long posted = generation; // fixed while the thread runs
        QMetaObject::invokeMethod(
            &receiver,
            [this, message, posted] {
                if (posted == generation && handler) {
                    // The handler may stop the capture, which lets go of handler.
                    const Handler current = handler;
                    current(message);
                }
            },
            Qt::QueuedConnection);
    }

    // Set by noteCreateError while the recording context is created. The handler is the
    // process's, so an error of another connection in that moment may land here too: it only
    // makes this start give up.
    static inline std::atomic<bool> createFailed = false;
    static int noteCreateError(Display*, XErrorEvent*) {
        createFailed = true;
        return 0;
    }

    void settleStart(bool started) {
        std::lock_guard lock(startMutex);
        if (!startSettled) {
            startSettled = true;
            recordingStarted = started;
            startChanged.notify_all();
        }
    }

    // Capture thread: a recorded press or release, with the server's time stamp.
    void serverKeyEvent(unsigned int keycode, bool down, unsigned int state, unsigned long time) {
        if (down && pendingRelease && keycode == pendingRelease->keycode &&
            time == pendingRelease->time) {
            pendingRelease.reset();
            return; // an auto-repeat of the held key
        }
        flushRelease();
        if (down && keycode <= 255 && held[keys.virtualKey(keycode, state)]) {
            return; // a repeat sent without its release
        }
        if (!down) {
            pendingRelease = Release{keycode, state, time};
            return;
        }
        keyEvent(keycode, true, state);
    }

    // Capture thread: a release held back is real (the server has nothing more for now, or
    // another key event follows it).
    void flushRelease() {
        if (pendingRelease) {
            const Release release = *pendingRelease;
            pendingRelease.reset();
            keyEvent(release.keycode, false, release.state);
        }
    }

    static void intercept(XPointer closure, XRecordInterceptData* recorded) {
        auto* self = reinterpret_cast<Impl*>(closure);
        if (recorded->category == XRecordStartOfData) {
            self->settleStart(true);
        } else if (recorded->category == XRecordFromServer &&
                   recorded->data_len * 4 >= sizeof(xEvent)) {
            const auto* event = reinterpret_cast<const xEvent*>(recorded->data);
            const int type = event->u.u.type & 0x7f;
            if (type == KeyPress || type == KeyRelease) {
                self->serverKeyEvent(event->u.u.detail, type == KeyPress,
                                     event->u.keyButtonPointer.state,
                                     event->u.keyButtonPointer.time);
            }
        }
        XRecordFreeData(recorded);
    }

    void run() {
        pthread_setname_np(pthread_self(), kCaptureThreadName);
        if (!XRecordEnableContextAsync(data, context, &Impl::intercept,
                                       reinterpret_cast<XPointer>(this))) {
            settleStart(false);
            return;
        }
        XFlush(data);
        pollfd fds[2] = {{ConnectionNumber(data), POLLIN, 0}, {wakeFd, POLLIN, 0}};
        for (;;) {
            XRecordProcessReplies(data);
            // The server sends an auto-repeat's release and press together: a release that
            // ends what it has sent is a real one.
            flushRelease();
            fds[0].revents = 0;
            fds[1].revents = 0;
            if (poll(fds, 2, -1) < 0) {
                continue;
            }
            if ((fds[1].revents & POLLIN) != 0 || (fds[0].revents & (POLLHUP | POLLERR)) != 0) {
                break;
            }
        }
        settleStart(false);
    }

    void closeConnections() {
        if (data != nullptr) {
            XCloseDisplay(data);
            data = nullptr;
        }
        if (control != nullptr) {
            XCloseDisplay(control);
            control = nullptr;
        }
        if (wakeFd >= 0) {
            ::close(wakeFd);
            wakeFd = -1;
        }
    }

    bool start() {
        XInitThreads(); // the capture thread and this one each use a connection of their own
        const char* name = displayName.empty() ? nullptr : displayName.c_str();
        control = XOpenDisplay(name);
        if (control == nullptr) {
            say("there is no X display to capture keys on");
            return false;
        }
        int major = 0;
        int minor = 0;
        if (!XRecordQueryVersion(control, &major, &minor)) {
            say("the X server has no RECORD extension");
            closeConnections();
            return false;
        }
        data = XOpenDisplay(name);
        wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        XRecordRange* range = XRecordAllocRange();
        if (data == nullptr || wakeFd < 0 || range == nullptr) {
            if (range != nullptr) {
                XFree(range);
            }
            closeConnections();
            return false;
        }
        range->device_events.first = KeyPress;
        range->device_events.last = KeyRelease;
        XRecordClientSpec clients = XRecordAllClients;
        // A server that refuses the context answers with an error, which must not end the
        // program: it is caught here, and recording goes on without capture.
        createFailed = false;
        XErrorHandler previous = XSetErrorHandler(&Impl::noteCreateError);
        context = XRecordCreateContext(control, 0, &clients, 1, &range, 1);
        XFree(range);
        XSync(control, False);
        XSetErrorHandler(previous);
        if (context == 0 || createFailed) {
            context = 0;
            say("the X server refused to record keys");
            closeConnections();
            return false;
        }
        keys.read(control);
        held.fill(false);
        pendingRelease.reset();
        // Captured keys may be a password: no core dump of the process holds them.
        dumpableBefore = prctl(PR_GET_DUMPABLE, 0, 0, 0, 0);
        prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
        startSettled = false;
        recordingStarted = false;
        thread = std::thread([this] { run(); });
        // Keys struck once start() has returned are captured: wait for the server to begin.
        bool started = false;
        {
            std::unique_lock lock(startMutex);
            startChanged.wait_for(lock, std::chrono::seconds(2), [this] { return startSettled; });
            started = recordingStarted;
        }
        if (!started) {
            stop();
            return false;
        }
        return true;
    }

    void stop() {
        if (context == 0) {
            return;
        }
        XRecordDisableContext(control, context);
        XSync(control, False);
        const std::uint64_t one = 1;
        [[maybe_unused]] const auto written = ::write(wakeFd, &one, sizeof one);
        thread.join();
        XRecordFreeContext(control, context);
        XSync(control, False);
        context = 0;
        closeConnections();
        if (dumpableBefore >= 0) {
            prctl(PR_SET_DUMPABLE, dumpableBefore, 0, 0, 0);
        }
    }
};

X11RecordKeyboardHook::X11RecordKeyboardHook(std::string displayName)
    : impl_(std::make_unique<Impl>()) {
    impl_->displayName = std::move(displayName);
}

X11RecordKeyboardHook::~X11RecordKeyboardHook() {
    stop();
}

bool X11RecordKeyboardHook::start(Handler handler) {
    stop();
    ++impl_->generation;
    if (!impl_->start()) {
        return false;
    }
    impl_->handler = std::move(handler);
    return true;
}

void X11RecordKeyboardHook::stop() {
    impl_->stop();
    impl_->handler = nullptr;
    ++impl_->generation;
}

bool X11RecordKeyboardHook::active() const {
    return impl_->context != 0;
}

unsigned long X11RecordKeyboardHook::contextId() const {
    return impl_->context;
}

} // namespace veldran
