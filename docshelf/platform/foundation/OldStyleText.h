#pragma once

#include <optional>

namespace docshelf::foundation {

// The characters of the old-style text forms (strings tables and old-style
// property lists), read alike by both.

// Space between tokens.
inline bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// The characters of a string written without quotes.
inline bool isBareCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '.' ||
           c == '-' || c == '$' || c == ':' || c == '/';
}

// The value of a hexadecimal digit, -1 for any other character.
inline int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The character that a backslash and `letter` stand for: \n \t \r \a \b \f \v;
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
