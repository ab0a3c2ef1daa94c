#include "platform/linux/WlrootsActiveWindow.h"

#include "wlr-foreign-toplevel-management-unstable-v1-client-protocol.h"

#include <QSocketNotifier>
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <set>
#include <wayland-client.h>

namespace veldran {

namespace {

// The version of the protocol whose events are handled here (3 adds the parent event).
constexpr std::uint32_t kManagerVersion = 3;

struct DisplayCloser {
    void operator()(wl_display* display) const { wl_display_disconnect(display); }
};

} // namespace

struct WlrootsActiveWindow::Toplevels {
    // One toplevel window: what the compositor said last, and what it says until its next done
    // event (the changes between two done events belong together).
    struct Toplevel {
        zwlr_foreign_toplevel_handle_v1* handle = nullptr;
        std::string appId;
        bool activated = false;
        std::string pendingAppId;
        bool pendingActivated = false;
    };

    ~Toplevels() {
        forgetToplevels();
        if (manager != nullptr) {
            zwlr_foreign_toplevel_manager_v1_destroy(manager);
        }
        if (registry != nullptr) {
            wl_registry_destroy(registry);
        }
    }

    void forgetToplevels() {
        for (Toplevel& toplevel : list) {
            zwlr_foreign_toplevel_handle_v1_destroy(toplevel.handle);
        }
        list.clear();
    }

    Toplevel* find(zwlr_foreign_toplevel_handle_v1* handle) {
        const auto at = std::find_if(list.begin(), list.end(),
                                     [handle](const Toplevel& t) { return t.handle == handle; });
        return at == list.end() ? nullptr : &*at;
    }

    // The activated toplevel, or none.
    const Toplevel* active() const {
        const auto at =
            std::find_if(list.begin(), list.end(), [](const Toplevel& t) { return t.activated; });
        return at == list.end() ? nullptr : &*at;
    }

    std::unique_ptr<wl_display, DisplayCloser> display;
    wl_registry* registry = nullptr;
    zwlr_foreign_toplevel_manager_v1* manager = nullptr;
    // Found by handle on every event: no pointer into it is kept.
    std::vector<Toplevel> list;
    // What was told last: the toplevel in front and its app id.
    zwlr_foreign_toplevel_handle_v1* toldHandle = nullptr;
    std::string toldAppId;
};

namespace {

using Toplevels = WlrootsActiveWindow::Toplevels;

void toplevelTitle(void*, zwlr_foreign_toplevel_handle_v1*, const char*) {}

void toplevelAppId(void* data, zwlr_foreign_toplevel_handle_v1* handle, const char* appId) {
    if (auto* toplevel = static_cast<Toplevels*>(data)->find(handle)) {
        toplevel->pendingAppId = appId != nullptr ? appId : "";
    }
}

void toplevelOutput(void*, zwlr_foreign_toplevel_handle_v1*, wl_output*) {}

void toplevelState(void* data, zwlr_foreign_toplevel_handle_v1* handle, wl_array* states) {
    auto* toplevel = static_cast<Toplevels*>(data)->find(handle);
    if (toplevel == nullptr) {
        return;
    }
    const std::size_t count = states->size / sizeof(std::uint32_t);
    bool activated = false;
    for (std::size_t i = 0; i < count; ++i) {
        std::uint32_t state = 0;
        std::memcpy(&state, static_cast<const char*>(states->data) + i * sizeof state,
                    sizeof state);
        activated = activated || state == ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_ACTIVATED;
    }
    toplevel->pendingActivated = activated;
}

void toplevelDone(void* data, zwlr_foreign_toplevel_handle_v1* handle) {
    if (auto* toplevel = static_cast<Toplevels*>(data)->find(handle)) {
        toplevel->appId = toplevel->pendingAppId;
        toplevel->activated = toplevel->pendingActivated;
    }
}

void toplevelClosed(void* data, zwlr_foreign_toplevel_handle_v1* handle) {
    auto& list = static_cast<Toplevels*>(data)->list;
    list.erase(
        std::remove_if(list.begin(), list.end(),
                       [handle](const Toplevels::Toplevel& t) { return t.handle == handle; }),
        list.end());
    zwlr_foreign_toplevel_handle_v1_destroy(handle);
}

void toplevelParent(void*, zwlr_foreign_toplevel_handle_v1*, zwlr_foreign_toplevel_handle_v1*) {}

const zwlr_foreign_toplevel_handle_v1_listener kToplevelListener{
    toplevelTitle, toplevelAppId, toplevelOutput, toplevelOutput,
    toplevelState, toplevelDone,  toplevelClosed, toplevelParent};

void managerToplevel(void* data, zwlr_foreign_toplevel_manager_v1*,
                     zwlr_foreign_toplevel_handle_v1* handle) {
    auto* toplevels = static_cast<Toplevels*>(data);
    toplevels->list.push_back({handle, {}, false, {}, false});
    zwlr_foreign_toplevel_handle_v1_add_listener(handle, &kToplevelListener, toplevels);
}

void managerFinished(void* data, zwlr_foreign_toplevel_manager_v1* manager) {
    auto* toplevels = static_cast<Toplevels*>(data);
    if (toplevels->manager == manager) {
        zwlr_foreign_toplevel_manager_v1_destroy(manager);
        toplevels->manager = nullptr;
    }
}

const zwlr_foreign_toplevel_manager_v1_listener kManagerListener{managerToplevel, managerFinished};

void registryGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
                    std::uint32_t version) {
    auto* toplevels = static_cast<Toplevels*>(data);
    if (toplevels->manager == nullptr &&
        std::strcmp(interface, zwlr_foreign_toplevel_manager_v1_interface.name) == 0) {
        toplevels->manager = static_cast<zwlr_foreign_toplevel_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_foreign_toplevel_manager_v1_interface,
                             std::min(version, kManagerVersion)));
        zwlr_foreign_toplevel_manager_v1_add_listener(toplevels->manager, &kManagerListener,
                                                      toplevels);
    }
}

void registryGlobalRemove(void*, wl_registry*, std::uint32_t) {}

const wl_registry_listener kRegistryListener{registryGlobal, registryGlobalRemove};

} // namespace

WlrootsActiveWindow::WlrootsActiveWindow(Listener listener, QObject* parent)
    : QObject(parent), w_(std::make_unique<Toplevels>()), listener_(std::move(listener)) {
    w_->display.reset(wl_display_connect(nullptr));
    if (!w_->display) {
        return;
    }
    wl_display* display = w_->display.get();
    w_->registry = wl_display_get_registry(display);
    wl_registry_add_listener(w_->registry, &kRegistryListener, w_.get());
    // The first round trip lists the globals (and binds the manager); the second brings the
    // toplevels open now with their states.
    if (wl_display_roundtrip(display) < 0 || w_->manager == nullptr ||
        wl_display_roundtrip(display) < 0) {
        return;
    }
    if (const auto* active = w_->active()) {
        w_->toldHandle = active->handle;
        w_->toldAppId = active->appId;
    }
    notifier_ =
        std::make_unique<QSocketNotifier>(wl_display_get_fd(display), QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &WlrootsActiveWindow::readEvents);
}

WlrootsActiveWindow::~WlrootsActiveWindow() = default;

const char* WlrootsActiveWindow::sourceName() const {
    return watching() ? "wlroots" : "none";
}

bool WlrootsActiveWindow::watching() const {
    return notifier_ != nullptr;
}

WindowProgram WlrootsActiveWindow::activeProgram() {
    WindowProgram program;
    if (const auto* active = watching() ? w_->active() : nullptr) {
        program.appId = active->appId;
    }
    return program;
}

bool WlrootsActiveWindow::pickWindow(Listener /*picked*/) {
    return false;
}

std::vector<std::string> WlrootsActiveWindow::programsWithWindows() {
    std::set<std::string> names;
    for (const Toplevels::Toplevel& toplevel : w_->list) {
        if (!toplevel.appId.empty()) {
            names.insert(toplevel.appId);
        }
    }
    return {names.begin(), names.end()};
}

void WlrootsActiveWindow::readEvents() {
    wl_display* display = w_->display.get();
    // The descriptor is readable: read what is there without blocking, then run the callbacks.
    while (wl_display_prepare_read(display) != 0) {
        wl_display_dispatch_pending(display);
    }
    if (wl_display_read_events(display) < 0 || wl_display_dispatch_pending(display) < 0 ||
        (wl_display_flush(display) < 0 && errno != EAGAIN)) {
        // The compositor went away: nothing more will come, and no window is in front.
        notifier_->setEnabled(false);
        w_->forgetToplevels();
        tellIfChanged();
        return;
    }
    tellIfChanged();
}

void WlrootsActiveWindow::tellIfChanged() {
    const auto* active = w_->active();
    zwlr_foreign_toplevel_handle_v1* handle = active != nullptr ? active->handle : nullptr;
    const std::string appId = active != nullptr ? active->appId : std::string();
    if (handle == w_->toldHandle && appId == w_->toldAppId) {
        return;
    }
    w_->toldHandle = handle;
    w_->toldAppId = appId;
    if (listener_) {
        WindowProgram program;
        program.appId = appId;
        listener_(program);
    }
}

} // namespace veldran
