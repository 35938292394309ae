#pragma once

#include "platform/foundation/Value.h"

#include <string>
#include <vector>

namespace docshelf::testing {

// The forms and encodings of property lists that tools write and a Mac reads,
// besides XML in UTF-8 and binary.
enum class ListForm {
    Xml,              // as the property-list library writes it
    XmlUtf8Mark,      // with a UTF-8 byte-order mark, as Windows editors save it
    XmlUtf16Little,   // UTF-16 little-endian with a mark, declared "UTF-16"
    XmlUtf16Big,      // UTF-16 big-endian with a mark
    XmlUtf16Declared, // UTF-16 little-endian without a mark: only the declaration tells
    OldStyle,         // { key = value; } with comments, bare and quoted strings
    OldStyleUtf16,    // the same in UTF-16 big-endian with a mark
    OldStylePairs,    // key = value; pairs without braces, as a strings table
};

std::vector<ListForm> allListForms();
const char* listFormName(ListForm form);

// The value written in the form. Old-style text has only strings, arrays,
// dictionaries and data: numbers, booleans and dates are written as their text.
std::string writeInForm(const foundation::Value& root, ListForm form);

}
