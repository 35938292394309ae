#include "TextEncoding.h"

#include <stdexcept>

namespace docshelf::testing {

namespace {

char32_t nextCodePoint(const std::string& text, std::size_t& at) {
    auto byte = [&](std::size_t i) {
        if (i >= text.size())
            throw std::invalid_argument("UTF-8 text cut short");
        return static_cast<unsigned char>(text[i]);
    };
    unsigned char lead = byte(at);
    std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i)
        c = (c << 6) | (byte(at + i) & 0x3F);
    at += length;
    return c;
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
