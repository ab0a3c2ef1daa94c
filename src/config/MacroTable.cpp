#include "config/MacroTable.h"

namespace veldran {

void MacroTable::setCount(std::int16_t count) {
    count_.store(count < 0 ? std::int16_t{0}
                           : (count > kMaxMacros ? std::int16_t{kMaxMacros} : count));
}

MacroRecord MacroTable::snapshot(int index) const {
    if (index < 0 || index >= kMacroRecordCount) {
        return MacroRecord{};
    }
    std::lock_guard lock(mutex_);
    return records_[static_cast<std::size_t>(index)];
}

} // namespace veldran
