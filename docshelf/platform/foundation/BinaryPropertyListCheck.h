#pragma once

#include "ReadLimits.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace docshelf::foundation {

// Walks the object graph of a binary property list before the property-list
// library sees it, because the library recurses without limit (a deeply nested
// file overflows the stack) and aborts on a UTF-16 string that holds U+0000.
// Reads only inside the given bytes and visits each object once.
class BinaryPropertyListCheck {
public:
    // What makes the bytes unsafe to hand to the library, or nullopt when they
    // can be handed over (the library still judges everything else).
    // maximumValues caps the values (keys included) that the list becomes with
    // every shared object copied to each place it is referenced from.
    // maximumExpandedBytes caps the bytes of strings and data counted the same way.
    static std::optional<std::string> problem(std::span<const std::uint8_t> bytes, std::size_t maximumNesting,
                                              std::size_t maximumValues,
                                              std::size_t maximumExpandedBytes = ReadLimits::maximumExpandedBytes);
};

}
