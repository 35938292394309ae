#pragma once

#include <optional>

namespace docshelf::foundation {

// The character that a backslash and `letter` stand for in the old-style text
// forms (strings tables and old-style property lists): \n \t \r \a \b \f \v;
// nullopt for any other letter, which each reader handles its own way.
inline std::optional<char> controlEscape(char letter) {
    switch (letter) {
    case 'n':
        return '\n';
    case 't':
        return '\t';
    case 'r':
        return '\r';
    case 'a':
        return '\a';
    case 'b':
        return '\b';
    case 'f':
        return '\f';
    case 'v':
        return '\v';
    default:
        return std::nullopt;
    }
}

}
