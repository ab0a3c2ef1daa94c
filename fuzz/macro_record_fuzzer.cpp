// Feeds arbitrary bytes as the value of a Macro.dat record, as a macro name and as a whole
// Macro.dat (in memory), and checks the round-trip invariants of the record text and of the name
// field and the bounds of what a whole file gives.
#include "config/MacroStore.h"
#include "config/MacroTable.h"

#include <cstdlib>
#include <cstring>
#include <string>

using namespace veldran;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    MacroRecord record;
    MacroStore::decodeRecord(text, record);
    const std::string encoded = MacroStore::encodeRecord(record);
    if (encoded.size() != 555 || encoded.find_first_not_of("0123456789") != std::string::npos) {
        std::abort();
    }
    MacroRecord again;
    MacroStore::decodeRecord(encoded, again);
    if (std::memcmp(&again, &record, sizeof record) != 0) {
        std::abort();
    }
    if (record.usableEventCount() > kMacroEventCapacity) {
        std::abort();
    }
    for (int k = -1; k <= kMacroEventCapacity; ++k) {
        (void)record.event(k);
    }
    (void)record.nameUtf8();

    // Any text as a name: at most 19 units, terminated, and stable once stored.
    MacroRecord named;
    named.setName(text);
    if (named.name[38] != 0 || named.name[39] != 0) {
        std::abort();
    }
    const std::string name = named.nameUtf8();
    MacroRecord renamed;
    renamed.setName(name);
    if (renamed.nameUtf8() != name || std::memcmp(&renamed.name, &named.name, 40) != 0) {
        std::abort();
    }

    // The same bytes as a whole Macro.dat: the count is bounded to the table, every record read.
    MacroTable table;
    table.setCount(MacroStore::countFromText(text));
    if (table.count() < 0 || table.count() > kMaxMacros) {
        std::abort();
    }
    MacroStore::readFromText(text, kMaxMacros, table);
    for (int i = 0; i < table.count(); ++i) {
        if (table.snapshot(i).usableEventCount() > kMacroEventCapacity) {
            std::abort();
        }
    }
    return 0;
}
