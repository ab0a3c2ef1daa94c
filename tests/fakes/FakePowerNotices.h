// Power notices raised by the test with fire().
#pragma once

#include "platform/PowerNotices.h"

namespace veldran::fakes {

class FakePowerNotices final : public PowerNotices {
public:
    bool subscribe(Handler handler) override {
        handler_ = std::move(handler);
        return true;
    }
    void fire() {
        if (handler_) {
            handler_();
        }
    }

private:
    Handler handler_;
};

} // namespace veldran::fakes
