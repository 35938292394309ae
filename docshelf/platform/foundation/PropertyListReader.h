#pragma once

#include "ReadOutcome.h"
#include "Value.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace docshelf::foundation {

struct PropertyListResult : ReadOutcome {
    Value root; // absent on failure
    // Lone UTF-16 surrogates in a binary list's strings, each read as U+FFFD.
    std::size_t replacedCharacters = 0;
    // How the list is written when it is neither binary nor XML in UTF-8 without
    // a byte-order mark: "old-style text", "XML in UTF-16 (little-endian, with a
    // byte-order mark)"; empty for those two. Set whether or not it was read.
    std::string form;
};

// Reads property lists in every form and encoding a Mac reads: binary; XML in
// UTF-8 (with or without a byte-order mark), UTF-16 or UTF-32 (after a
// byte-order mark, or UTF-16 that its XML declaration reveals); the old-style
// text form in the same encodings. Told apart by their content, never by file
// name. The same limits hold in every form. The only code that sees the
// property-list library.
class PropertyListReader {
public:
    static PropertyListResult parse(std::span<const std::uint8_t> bytes);
    static PropertyListResult readFile(const std::string& path);
};

}
