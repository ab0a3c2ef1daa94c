// A keyboard hook whose key events are raised by the test with press().
#pragma once

#include "platform/KeyboardHook.h"

namespace veldran::fakes {

class FakeKeyboardHook final : public KeyboardHook {
public:
    bool start(Handler handler) override {
        handler_ = std::move(handler);
        return true;
    }
    void stop() override { handler_ = nullptr; }
    bool active() const override { return static_cast<bool>(handler_); }
    void press(std::uint8_t key, bool down, std::uint32_t timeMs) {
        if (handler_) {
            handler_(KeyboardEvent{key, down, timeMs});
        }
    }

private:
    Handler handler_;
};

} // namespace veldran::fakes
