// Power-management notices (suspend and resume). The handler runs on the user-interface thread.
#pragma once

#include <functional>

namespace veldran {

// Which notice: the system is about to suspend, or it has resumed.
enum class PowerNotice { Suspending, Resumed };

class PowerNotices {
public:
    using Handler = std::function<void(PowerNotice)>;
    virtual ~PowerNotices() = default;
    // Calls handler for every power notice, whatever its kind. Returns false when the system
    // offers no such notices (the program then simply never gets one).
    virtual bool subscribe(Handler handler) = 0;
};

} // namespace veldran
