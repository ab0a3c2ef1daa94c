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
    void fire(PowerNotice notice = PowerNotice::Resumed) {
        if (handler_) {
            handler_(notice);
        }
    }

private:
    Handler handler_;
};

} // namespace veldran::fakes
