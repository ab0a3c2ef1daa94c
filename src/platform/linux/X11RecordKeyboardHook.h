// The keyboard hook on X11: the RECORD extension reports every key press and release of the
// display while a recording runs. A control connection sets up the recording context; a second
// connection receives the recorded keys on a thread of its own, which turns each into a keyboard
// message (virtual-key code from the server's keyboard map) and posts it to the thread that
// started the capture. Nothing of it exists outside start() ... stop(): no connection, no
// context, no thread. Keys are handed on and kept nowhere. A held key is one press and one
// release (the server's auto-repeat is dropped), and while the capture runs the process cannot
// be dumped, so that no core file holds the typed keys.
#pragma once

#include "platform/KeyboardHook.h"

#include <memory>
#include <string>

namespace veldran {

class X11RecordKeyboardHook final : public KeyboardHook {
public:
    // Captures on displayName, or on $DISPLAY when it is empty. Create it on the user-interface
    // thread: handlers run there, from its event loop.
    explicit X11RecordKeyboardHook(std::string displayName = {});
    ~X11RecordKeyboardHook() override; // stops a running capture
    X11RecordKeyboardHook(const X11RecordKeyboardHook&) = delete;
    X11RecordKeyboardHook& operator=(const X11RecordKeyboardHook&) = delete;

    // False without a display or without RECORD; the capture is then not running.
    bool start(Handler handler) override;
    // Disables and frees the recording context, joins the capture thread and closes both
    // connections. Key events already posted but not yet handled are dropped.
    void stop() override;
    bool active() const override;

    // The X resource id of the running recording context, 0 when none (for checking the
    // server's side of the capture).
    unsigned long contextId() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace veldran
