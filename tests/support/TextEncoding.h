#pragma once

#include <string>

namespace docshelf::testing {

// The UTF-8 text as UTF-16 in the given byte order, with or without a
// byte-order mark, as strings tables are stored on older discs.
std::string utf16(const std::string& utf8, bool bigEndian, bool byteOrderMark);

}
