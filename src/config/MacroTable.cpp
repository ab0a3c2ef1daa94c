#include "config/MacroTable.h"

namespace veldran {

MacroTable::MacroTable() {
    for (auto& repeat : repeats_) {
        repeat.store(kRepeatOnce);
    }
}

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

int MacroTable::repeat(int index) const {
    if (index < 0 || index >= kMaxMacros) {
        return kRepeatOnce;
    }
    return repeats_[static_cast<std::size_t>(index)].load();
}

void MacroTable::setRepeat(int index, int repeat) {
    if (index < 0 || index >= kMaxMacros) {
        return;
    }
    repeats_[static_cast<std::size_t>(index)].store(isMacroRepeat(repeat) ? repeat : kRepeatOnce);
}

void MacroTable::removeRepeat(int index) {
    if (index < 0 || index >= kMaxMacros) {
        return;
    }
    for (int k = index; k < kMaxMacros - 1; ++k) {
        setRepeat(k, repeat(k + 1));
    }
    setRepeat(kMaxMacros - 1, kRepeatOnce);
}

} // namespace veldran
