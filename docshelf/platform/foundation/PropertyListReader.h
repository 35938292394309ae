#pragma once

#include "ReadOutcome.h"
#include "Value.h"

#include <cstdint>
#include <span>
#include <string>

namespace docshelf::foundation {

struct PropertyListResult : ReadOutcome {
    Value root;  // absent on failure
};

// Reads XML and binary property lists, told apart by their content, never by
// file name. The only code that sees the property-list library.
class PropertyListReader {
public:
    static PropertyListResult parse(std::span<const std::uint8_t> bytes);
    static PropertyListResult readFile(const std::string& path);
};

}
