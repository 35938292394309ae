// Any bytes given to the property-list reader, XML or binary: it must return a
// value or absent, within the limits, without a crash, a leak or a hang.
#include "platform/foundation/PropertyListReader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto result = docshelf::foundation::PropertyListReader::parse({data, size});
    // A value and an error never come together.
    if (!result.root.isAbsent() && !result.error.empty())
        __builtin_trap();
    return 0;
}
