#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace docshelf::foundation {

// The one UTF-8 decoder of the project, strict: no overlong forms, no
// surrogates, nothing past U+10FFFF, no sequence cut short. Reads the
// character at `at` and moves `at` past it; nullopt, `at` unchanged, when the
// bytes there are not a well-formed character (or `at` is at the end).
//   "é" at 0 -> U+00E9, at 2     "\xC0\xAF" -> nullopt     "\xED\xA0\x80" -> nullopt
std::optional<char32_t> decodeUtf8(std::string_view text, std::size_t& at);

// The length of the longest well-formed UTF-8 prefix of the text. Equals
// text.size() when the whole text is well formed.
std::size_t validUtf8Prefix(std::string_view text);

inline bool isValidUtf8(std::string_view text) {
    return validUtf8Prefix(text) == text.size();
}

// Appends the code point in UTF-8; surrogates and values past U+10FFFF become U+FFFD.
void appendUtf8(std::string& out, char32_t c);

// Why UTF-16 could not be read, and the offset of the unit (in the bytes given) where.
struct Utf16Problem {
    std::size_t offset = 0;
    const char* what = "";
};

// Appends UTF-16 in the given byte order, without its mark, as UTF-8. Stops at
// the first surrogate without its other half, or at an odd byte at the end.
std::optional<Utf16Problem> appendUtf16(std::span<const std::uint8_t> bytes, bool bigEndian, std::string& out);

}
