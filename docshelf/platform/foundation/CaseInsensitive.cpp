#include "CaseInsensitive.h"

#include "Utf8.h"

#include <cstdint>

namespace docshelf::foundation {

namespace {

// Decodes one code point at text[i] and advances i. A byte that does not start a
// well-formed sequence stands for itself, mapped above the Unicode range so that
// it sorts after every character and never equals one.
char32_t decodeNext(std::string_view text, std::size_t& i) {
    if (auto c = decodeUtf8(text, i))
        return *c;
    return 0x110000u + static_cast<unsigned char>(text[i++]);
}

bool within(char32_t c, char32_t first, char32_t last) {
    return c >= first && c <= last;
}

// Upper-case forms at even code points with their lower-case form just after.
bool evenPair(char32_t c, char32_t first, char32_t last) {
    return within(c, first, last) && (c - first) % 2 == 0;
}

}

char32_t foldCase(char32_t c) {
    if (c < 0x80)
        return c >= 'A' && c <= 'Z' ? c + 32 : c;

    // Latin-1 Supplement and Latin Extended-A.
    if (c == 0x00B5)
        return 0x03BC;
    if (within(c, 0x00C0, 0x00DE) && c != 0x00D7)
        return c + 32;
    if (evenPair(c, 0x0100, 0x012F) || evenPair(c, 0x0132, 0x0137) || evenPair(c, 0x014A, 0x0177))
        return c + 1;
    if ((within(c, 0x0139, 0x0148) || within(c, 0x0179, 0x017E)) && c % 2 == 1)
        return c + 1;
    if (c == 0x0178)
        return 0x00FF;
    if (c == 0x017F)
        return 's';

    // Latin Extended-B: the regular runs and the digraphs.
    if (within(c, 0x01CD, 0x01DC) && c % 2 == 1)
        return c + 1;
    if (evenPair(c, 0x01DE, 0x01EF) || evenPair(c, 0x01F8, 0x021F) || evenPair(c, 0x0222, 0x0233) ||
        evenPair(c, 0x0246, 0x024F))
        return c + 1;
    switch (c) {
    case 0x01C4:
    case 0x01C5:
        return 0x01C6;
    case 0x01C7:
    case 0x01C8:
        return 0x01C9;
    case 0x01CA:
    case 0x01CB:
        return 0x01CC;
    case 0x01F1:
    case 0x01F2:
        return 0x01F3;
    case 0x01F4:
        return 0x01F5;
    default:
        break;
    }

    // Greek.
    if (within(c, 0x0391, 0x03A1) || within(c, 0x03A3, 0x03AB))
        return c + 32;
    switch (c) {
    case 0x0386:
        return 0x03AC;
    case 0x0388:
    case 0x0389:
    case 0x038A:
        return c + 37;
    case 0x038C:
        return 0x03CC;
    case 0x038E:
    case 0x038F:
        return c + 63;
    case 0x037F:
        return 0x03F3;
    case 0x03C2:
        return 0x03C3;
    case 0x03CF:
        return 0x03D7;
    case 0x03D0:
        return 0x03B2;
    case 0x03D1:
        return 0x03B8;
    case 0x03D5:
        return 0x03C6;
    case 0x03D6:
        return 0x03C0;
    case 0x03F0:
        return 0x03BA;
    case 0x03F1:
        return 0x03C1;
    case 0x03F5:
        return 0x03B5;
    case 0x03F4:
        return 0x03B8;
    default:
        break;
    }
    if (evenPair(c, 0x03D8, 0x03EF))
        return c + 1;

    // Cyrillic.
    if (within(c, 0x0400, 0x040F))
        return c + 80;
    if (within(c, 0x0410, 0x042F))
        return c + 32;
    if (evenPair(c, 0x0460, 0x0481) || evenPair(c, 0x048A, 0x04BF) || evenPair(c, 0x04D0, 0x052F))
        return c + 1;
    if (c == 0x04C0)
        return 0x04CF;
    if (within(c, 0x04C1, 0x04CE) && c % 2 == 1)
        return c + 1;

    // Armenian, Latin Extended Additional, letter-like symbols, full-width Latin.
    if (within(c, 0x0531, 0x0556))
        return c + 48;
    if (evenPair(c, 0x1E00, 0x1E95) || evenPair(c, 0x1EA0, 0x1EFF))
        return c + 1;
    switch (c) {
    case 0x1E9E:
        return 0x00DF;
    case 0x2126:
        return 0x03C9;
    case 0x212A:
        return 'k';
    case 0x212B:
        return 0x00E5;
    default:
        break;
    }
    if (within(c, 0xFF21, 0xFF3A))
        return c + 32;
    return c;
}

int caseInsensitiveCompare(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        char32_t x = foldCase(decodeNext(a, i));
        char32_t y = foldCase(decodeNext(b, j));
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (i < a.size())
        return 1;
    if (j < b.size())
        return -1;
    return 0;
}

}
