#pragma once

#include <string_view>

namespace docshelf::foundation {

// Compares two UTF-8 texts code point by code point after Unicode simple case
// folding (Latin, Greek and Cyrillic at least), with no locale or numeric rules:
// "model-10" comes before "model-9", "abc" equals "ABC". Bytes that are not valid
// UTF-8 compare as themselves. Returns <0, 0 or >0.
int caseInsensitiveCompare(std::string_view a, std::string_view b);

// The simple case folding of one code point (its lower-case form for the scripts above).
char32_t foldCase(char32_t codePoint);

}
