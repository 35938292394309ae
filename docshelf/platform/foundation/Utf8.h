#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace docshelf::foundation {

// The length of the longest well-formed UTF-8 prefix of the text: no overlong
// forms, surrogates or code points past U+10FFFF. Equals text.size() when the
// whole text is well formed.
std::size_t validUtf8Prefix(std::string_view text);

inline bool isValidUtf8(std::string_view text) {
    return validUtf8Prefix(text) == text.size();
}

// Appends the code point in UTF-8; surrogates and values past U+10FFFF become U+FFFD.
void appendUtf8(std::string& out, char32_t c);

}
