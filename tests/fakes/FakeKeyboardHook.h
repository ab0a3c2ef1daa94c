// A keyboard hook whose key messages are raised by the test with key(); it counts its starts and
// stops and can play a session without key capture.
#pragma once

#include "platform/KeyboardHook.h"

namespace veldran::fakes {

class FakeKeyboardHook final : public KeyboardHook {
public:
    bool start(Handler handler) override {
        ++starts;
        if (!available) {
            return false;
        }
        handler_ = std::move(handler);
        return true;
    }
    void stop() override {
        ++stops;
        handler_ = nullptr;
    }
    bool active() const override { return static_cast<bool>(handler_); }

    // A key event of the session, delivered as the capture forwards it.
    void key(std::uint32_t message, std::uint8_t virtualKey) {
        if (handler_) {
            handler_(KeyMessage{message, virtualKey});
        }
    }
    void press(std::uint8_t virtualKey) { key(WM_KEYDOWN, virtualKey); }
    void release(std::uint8_t virtualKey) { key(WM_KEYUP, virtualKey); }

    bool available = true; // false: a session without capture
    int starts = 0;
    int stops = 0;

private:
    Handler handler_;
};

} // namespace veldran::fakes
