#pragma once

#include "ReadOutcome.h"
#include "Value.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace docshelf::foundation {

struct PropertyListResult : ReadOutcome {
    Value root;  // absent on failure
    // Lone UTF-16 surrogates in a binary list's strings, each read as U+FFFD.
    std::size_t replacedCharacters = 0;
};

// Reads XML and binary property lists, told apart by their content, never by
// file name. The only code that sees the property-list library.
class PropertyListReader {
public:
    static PropertyListResult parse(std::span<const std::uint8_t> bytes);
    static PropertyListResult readFile(const std::string& path);
};

}
