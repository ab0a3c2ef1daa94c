// The macro table: 13 records (12 macros and the blank template) and the macro count. The
// user-interface thread edits it; the device event reader takes a copy of a record under the lock
// before playing it.
#pragma once

#include "config/MacroRecord.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>

namespace veldran {

class MacroTable {
public:
    // The macro count, 0 to 12 (signed 16-bit, as stored in Macro.dat).
    std::int16_t count() const { return count_.load(); }
    // Sets the count; a count from a hand-edited file is brought into 0 to 12, so that it never
    // names a record beyond the macros.
    void setCount(std::int16_t count);

    // Copy of record index (0 to 12), taken under the lock; a blank record for any other index.
    MacroRecord snapshot(int index) const;

    // Runs edit(records) under the lock; the user-interface thread's way to change records.
    template <typename Edit> void edit(Edit&& edit) {
        std::lock_guard lock(mutex_);
        edit(records_);
    }

private:
    mutable std::mutex mutex_;
    std::array<MacroRecord, kMacroRecordCount> records_{};
    std::atomic<std::int16_t> count_{0};
};

} // namespace veldran
