#include "TextEncoding.h"

#include "platform/foundation/Utf8.h"

#include <stdexcept>

namespace docshelf::testing {

namespace {

char32_t nextCodePoint(const std::string& text, std::size_t& at) {
    auto c = foundation::decodeUtf8(text, at);
    if (!c)
        throw std::invalid_argument("not UTF-8 text");
    return *c;
}

}

std::string utf16(const std::string& utf8, bool bigEndian, bool byteOrderMark) {
    std::string out;
    auto unit = [&](char32_t u) {
        char high = static_cast<char>(u >> 8);
        char low = static_cast<char>(u & 0xFF);
        out += bigEndian ? high : low;
        out += bigEndian ? low : high;
    };
    if (byteOrderMark)
        unit(0xFEFF);
    for (std::size_t at = 0; at < utf8.size();) {
        char32_t c = nextCodePoint(utf8, at);
        if (c >= 0x10000) {
            unit(0xD800 + ((c - 0x10000) >> 10));
            unit(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            unit(c);
        }
    }
    return out;
}

}
