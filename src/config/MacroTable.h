// The macro table: 13 records (12 macros and the blank template), the macro count and each
// macro's repeat mode. The user-interface thread edits it; the device event reader takes a copy
// of a record under the lock before playing it.
#pragma once

#include "config/MacroRecord.h"
#include "config/MacroRepeat.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>

namespace veldran {

class MacroTable {
public:
    MacroTable();

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

    // The repeat mode of macro index (0 to 11): kRepeatLoop or a pass count; once for any other
    // index.
    int repeat(int index) const;
    // Sets it; a value that is no repeat mode sets once. Other indexes are ignored.
    void setRepeat(int index, int repeat);
    // After macro index is deleted: the modes of the macros after it move up one place with
    // their records, and the last place plays once.
    void removeRepeat(int index);

private:
    mutable std::mutex mutex_;
    std::array<std::atomic<int>, kMaxMacros> repeats_;
    std::array<MacroRecord, kMacroRecordCount> records_{};
    std::atomic<std::int16_t> count_{0};
};

} // namespace veldran
