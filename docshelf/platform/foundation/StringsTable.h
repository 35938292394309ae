#pragma once

#include "ReadLimits.h"
#include "Value.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace docshelf::foundation {

// What a .strings file holds. A malformed file holds no keys: entries is empty,
// ok is false, and message, line and column say what was wrong and where, for
// the people who check a disc. Line and column count from 1 in the decoded
// text (columns in characters); both are 0 when the problem has no place in
// the text (a property list the reader refused, a file that cannot be read).
struct StringsTableResult {
    std::vector<std::pair<std::string, std::string>> entries; // in file order
    bool ok = true;
    std::string message;
    std::size_t line = 0;
    std::size_t column = 0;

    // The text of the key, or absent when the table does not have it.
    Value objectForKey(std::string_view key) const;
};

// Reads strings tables: the old-style text format ("key" = "value"; in UTF-8,
// or in UTF-16 after a byte-order mark) and XML or binary property lists whose
// root is a dictionary of strings, told apart by content. A key given twice
// keeps its first place and takes the later text. Never throws.
class StringsTable {
public:
    static constexpr std::size_t maximumFileSize = ReadLimits::maximumFileSize;

    static StringsTableResult parse(std::span<const std::uint8_t> bytes);
    static StringsTableResult parse(std::string_view bytes);
    static StringsTableResult readFile(const std::string& path);
};

}
