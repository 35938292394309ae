#include "PrintedName.h"

namespace docshelf::press {

namespace {

constexpr char hex[] = "0123456789ABCDEF";

std::string byteEscape(unsigned char c) {
    return std::string("\\x") + hex[c >> 4] + hex[c & 0xF];
}

std::string codePointEscape(char32_t c) {
    std::string out = "\\u";
    for (int shift = 12; shift >= 0; shift -= 4)
        out += hex[(c >> shift) & 0xF];
    return out;
}

// The length of the well-formed UTF-8 sequence at `at`, 0 when there is none,
// and the code point it encodes.
std::size_t decode(std::string_view text, std::size_t at, char32_t& point) {
    auto c = static_cast<unsigned char>(text[at]);
    std::size_t length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || at + length > text.size())
        return 0;
    point = length == 1 ? c : c & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80)
            return 0;
        point = (point << 6) | (next & 0x3F);
    }
    static constexpr char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (point < smallest[length] || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF))
        return 0;
    return length;
}

bool isHidden(char32_t c) {
    return (c >= 0x80 && c <= 0x9F) || c == 0x2028 || c == 0x2029 || c == 0x200E || c == 0x200F ||
           (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || c == 0xFEFF;
}

}

std::string PrintedName::of(std::string_view text, std::size_t longest) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        char32_t point = 0;
        std::size_t length = decode(text, i, point);
        if (length == 0) {
            out += byteEscape(static_cast<unsigned char>(text[i]));
            ++i;
            continue;
        }
        if (point == '\n')
            out += "\\n";
        else if (point == '\r')
            out += "\\r";
        else if (point == '\t')
            out += "\\t";
        else if (point < 0x20 || point == 0x7F)
            out += byteEscape(static_cast<unsigned char>(point));
        else if (isHidden(point))
            out += codePointEscape(point);
        else
            out.append(text.substr(i, length));
        i += length;
    }
    if (out.size() <= longest)
        return out;
    // Cut on character boundaries, keeping the start and the end (the file's own name).
    std::size_t head = longest / 2;
    while (head > 0 && (static_cast<unsigned char>(out[head]) & 0xC0) == 0x80)
        --head;
    std::size_t tail = out.size() - longest / 2;
    while (tail < out.size() && (static_cast<unsigned char>(out[tail]) & 0xC0) == 0x80)
        ++tail;
    return out.substr(0, head) + "[... " + std::to_string(tail - head) + " bytes ...]" + out.substr(tail);
}

}
