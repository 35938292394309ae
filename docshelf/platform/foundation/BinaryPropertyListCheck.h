#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace docshelf::foundation {

struct BinaryPropertyListCheckResult {
    std::optional<std::string> problem; // nullopt when the bytes can be handed over
    // Offsets of the UTF-16 units that are lone surrogates, which the library
    // would drop: the reader writes U+FFFD over them first.
    std::vector<std::uint64_t> loneSurrogates;
};

// Walks the object graph of a binary property list before the property-list
// library sees it, because the library recurses without limit (a deeply nested
// file overflows the stack) and aborts on a UTF-16 string that holds U+0000.
// Reads only inside the given bytes and visits each object once.
class BinaryPropertyListCheck {
public:
    // What makes the bytes unsafe to hand to the library (the library still
    // judges everything else). maximumValues caps the values (keys included) and
    // maximumExpandedBytes the bytes of strings (as UTF-8) and data that the list
    // becomes with every shared object copied to each place it is referenced from.
    static BinaryPropertyListCheckResult check(std::span<const std::uint8_t> bytes, std::size_t maximumNesting,
                                               std::size_t maximumValues, std::size_t maximumExpandedBytes);
};

}
