// Any bytes given to the strings-table reader (text in UTF-8 or UTF-16, or a
// property list): a table or a failure with a message, never a crash.
#include "platform/foundation/StringsTable.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto result = docshelf::foundation::StringsTable::parse(std::span<const std::uint8_t>(data, size));
    if (!result.ok && (!result.entries.empty() || result.message.empty()))
        __builtin_trap();
    for (const auto& [key, text] : result.entries)
        result.objectForKey(key);
    return 0;
}
