#include "platform/linux/X11ActiveWindow.h"

#include "platform/linux/XResources.h"

#include <QSocketNotifier>
#include <QTimer>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <set>
#include <tuple>
#include <utility>
#include <xcb/res.h>
#include <xcb/xcb.h>

namespace veldran {

namespace {

xcb_atom_t internAtom(xcb_connection_t* c, const char* name) {
    const auto cookie = xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    const XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(c, cookie, nullptr));
    return reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// The raw value of a property (empty when the window or the property is gone).
std::string propertyBytes(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property,
                          xcb_atom_t type) {
    const auto cookie = xcb_get_property(c, 0, window, property, type, 0, 1024);
    const XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(c, cookie, nullptr));
    std::string bytes;
    if (reply != nullptr && reply->type != XCB_ATOM_NONE) {
        const auto* data = static_cast<const char*>(xcb_get_property_value(reply.get()));
        const int length = xcb_get_property_value_length(reply.get());
        bytes.assign(data, static_cast<std::size_t>(length > 0 ? length : 0));
    }
    return bytes;
}

std::uint32_t propertyCardinal(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property,
                               xcb_atom_t type) {
    const std::string bytes = propertyBytes(c, window, property, type);
    std::uint32_t value = 0;
    if (bytes.size() >= sizeof value) {
        std::memcpy(&value, bytes.data(), sizeof value);
    }
    return value;
}

// WM_CLASS: the instance and the class, each ended by a NUL byte.
std::pair<std::string, std::string> windowClass(xcb_connection_t* c, xcb_window_t window) {
    const std::string wmClass = propertyBytes(c, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING);
    const std::size_t split = wmClass.find('\0');
    std::string className;
    if (split != std::string::npos) {
        const std::string rest = wmClass.substr(split + 1);
        className = rest.substr(0, rest.find('\0'));
    }
    return {wmClass.substr(0, split), className};
}

// The process of the local client that made window, asked of the X server itself (the X-Resource
// extension), for windows that do not carry _NET_WM_PID; 0 when it is not known.
std::uint32_t clientProcess(xcb_connection_t* c, xcb_window_t window) {
    xcb_res_client_id_spec_t spec{window, XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID};
    const auto cookie = xcb_res_query_client_ids(c, 1, &spec);
    const XcbReply<xcb_res_query_client_ids_reply_t> reply(
        xcb_res_query_client_ids_reply(c, cookie, nullptr));
    std::uint32_t pid = 0;
    if (reply != nullptr) {
        for (auto ids = xcb_res_query_client_ids_ids_iterator(reply.get()); ids.rem > 0 && pid == 0;
             xcb_res_client_id_value_next(&ids)) {
            if ((ids.data->spec.mask & XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID) != 0 &&
                xcb_res_client_id_value_value_length(ids.data) >= 1) {
                pid = *xcb_res_client_id_value_value(ids.data);
            }
        }
    }
    return pid;
}

} // namespace

struct X11ActiveWindow::Connection {
    xcb_connection_t* c = nullptr;
    xcb_window_t root = XCB_WINDOW_NONE;
    xcb_atom_t activeWindow = XCB_ATOM_NONE;
    xcb_atom_t windowPid = XCB_ATOM_NONE;

    ~Connection() {
        if (c != nullptr) {
            xcb_disconnect(c);
        }
    }
};

X11ActiveWindow::X11ActiveWindow(Listener listener, QObject* parent)
    : QObject(parent), x_(std::make_unique<Connection>()), listener_(std::move(listener)) {
    int screenNumber = 0;
    x_->c = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(x_->c) != 0) {
        return;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(x_->c));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i) {
        xcb_screen_next(&screens);
    }
    if (screens.rem == 0) {
        return;
    }
    x_->root = screens.data->root;
    x_->activeWindow = internAtom(x_->c, "_NET_ACTIVE_WINDOW");
    x_->windowPid = internAtom(x_->c, "_NET_WM_PID");
    const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(x_->c, x_->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x_->c);
    notifier_ =
        std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(x_->c), QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &X11ActiveWindow::readEvents);
}

X11ActiveWindow::~X11ActiveWindow() = default;

const char* X11ActiveWindow::sourceName() const {
    return watching() ? "x11" : "none";
}

bool X11ActiveWindow::watching() const {
    return notifier_ != nullptr;
}

WindowProgram X11ActiveWindow::activeProgram() {
    if (!watching()) {
        return {};
    }
    return programOf(propertyCardinal(x_->c, x_->root, x_->activeWindow, XCB_ATOM_WINDOW));
}

WindowProgram X11ActiveWindow::programOf(std::uint32_t window) {
    WindowProgram program;
    if (window == XCB_WINDOW_NONE) {
        return program;
    }
    std::tie(program.instance, program.className) = windowClass(x_->c, window);
    std::uint32_t pid = propertyCardinal(x_->c, window, x_->windowPid, XCB_ATOM_CARDINAL);
    if (pid == 0) {
        pid = clientProcess(x_->c, window);
    }
    program.pid = pid;
    program.executable = executableNameOf(pid);
    return program;
}

bool X11ActiveWindow::pickWindow(Listener picked) {
    if (!watching() || picked_) {
        return false;
    }
    xcb_connection_t* c = x_->c;
    // The crosshair of the X cursor font (glyph 34, its mask 35), white on black.
    const xcb_font_t font = xcb_generate_id(c);
    xcb_open_font(c, font, 6, "cursor");
    const xcb_cursor_t cursor = xcb_generate_id(c);
    xcb_create_glyph_cursor(c, cursor, font, font, 34, 35, 0, 0, 0, 0xFFFF, 0xFFFF, 0xFFFF);
    xcb_close_font(c, font);
    const auto cookie =
        xcb_grab_pointer(c, 0, x_->root, XCB_EVENT_MASK_BUTTON_PRESS, XCB_GRAB_MODE_ASYNC,
                         XCB_GRAB_MODE_ASYNC, XCB_WINDOW_NONE, cursor, XCB_CURRENT_TIME);
    const XcbReply<xcb_grab_pointer_reply_t> reply(xcb_grab_pointer_reply(c, cookie, nullptr));
    const bool grabbed = reply != nullptr && reply->status == XCB_GRAB_STATUS_SUCCESS;
    xcb_free_cursor(c, cursor);
    xcb_flush(c);
    if (grabbed) {
        picked_ = std::move(picked);
        if (pickTimeout_ == nullptr) {
            pickTimeout_ = std::make_unique<QTimer>();
            pickTimeout_->setSingleShot(true);
            QObject::connect(pickTimeout_.get(), &QTimer::timeout, [this] { cancelPick(); });
        }
        pickTimeout_->start(kPickTimeout);
    }
    return grabbed;
}

void X11ActiveWindow::cancelPick() {
    if (pickTimeout_ != nullptr) {
        pickTimeout_->stop();
    }
    if (!picked_) {
        return;
    }
    picked_ = nullptr;
    xcb_ungrab_pointer(x_->c, XCB_CURRENT_TIME);
    xcb_flush(x_->c);
}

std::uint32_t X11ActiveWindow::clientWindowOf(std::uint32_t window) {
    // The window manager marks the program's own window with WM_STATE; without a window manager
    // the top-level window is the program's.
    const xcb_atom_t wmState = internAtom(x_->c, "WM_STATE");
    std::vector<xcb_window_t> pending{window};
    for (std::size_t i = 0; i < pending.size() && i < 256; ++i) {
        if (!propertyBytes(x_->c, pending[i], wmState, wmState).empty()) {
            return pending[i];
        }
        const XcbReply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(x_->c, xcb_query_tree(x_->c, pending[i]), nullptr));
        if (tree != nullptr) {
            const xcb_window_t* children = xcb_query_tree_children(tree.get());
            pending.insert(pending.end(), children,
                           children + xcb_query_tree_children_length(tree.get()));
        }
    }
    return window;
}

std::vector<std::string> X11ActiveWindow::programsWithWindows() {
    std::set<std::string> names;
    if (watching()) {
        const std::string list =
            propertyBytes(x_->c, x_->root, internAtom(x_->c, "_NET_CLIENT_LIST"), XCB_ATOM_WINDOW);
        for (std::size_t at = 0; at + sizeof(xcb_window_t) <= list.size();
             at += sizeof(xcb_window_t)) {
            xcb_window_t window = XCB_WINDOW_NONE;
            std::memcpy(&window, list.data() + at, sizeof window);
            if (std::string instance = windowClass(x_->c, window).first; !instance.empty()) {
                names.insert(std::move(instance));
            }
        }
    }
    return {names.begin(), names.end()};
}

void X11ActiveWindow::readEvents() {
    bool activeChanged = false;
    std::optional<xcb_window_t> clicked;
    while (const XcbReply<xcb_generic_event_t> event{xcb_poll_for_event(x_->c)}) {
        const int type = event->response_type & 0x7F;
        if (type == XCB_PROPERTY_NOTIFY) {
            const auto* notify = reinterpret_cast<xcb_property_notify_event_t*>(event.get());
            activeChanged = activeChanged || notify->atom == x_->activeWindow;
        } else if (type == XCB_BUTTON_PRESS && picked_ && !clicked) {
            // The top-level window under the pointer (none over the bare desktop).
            clicked = reinterpret_cast<xcb_button_press_event_t*>(event.get())->child;
            xcb_ungrab_pointer(x_->c, XCB_CURRENT_TIME);
            xcb_flush(x_->c);
        }
    }
    if (clicked) {
        if (pickTimeout_ != nullptr) {
            pickTimeout_->stop();
        }
        const Listener picked = std::exchange(picked_, nullptr);
        picked(*clicked == XCB_WINDOW_NONE ? WindowProgram{} : programOf(clientWindowOf(*clicked)));
    }
    if (xcb_connection_has_error(x_->c) != 0) {
        // The X server went away: nothing more will come.
        notifier_->setEnabled(false);
        return;
    }
    if (activeChanged && listener_) {
        listener_(activeProgram());
    }
}

} // namespace veldran
