#pragma once

#include "ReadOutcome.h"
#include "Value.h"

#include <string_view>

namespace docshelf::foundation {

// Reads the old-style text form of property lists, as tools that predate XML
// lists still write it: `{ Key = Value; }` dictionaries, `( a, b )` arrays,
// `<0fbd 77>` data, quoted ("..." or '...') or bare strings, C and C++
// comments. Every value in this form is a string, an array, a dictionary or
// data. A text of bare `Key = Value;` pairs, as a strings table is written, is
// a dictionary. The same limits hold as for XML and binary lists (nesting,
// values, bytes of strings and data). On failure the value is absent and the
// error names the line; the position is the byte offset in the text.
class OldStylePropertyList {
public:
    struct Result : ReadOutcome {
        Value root;
    };

    // text: UTF-8, already decoded from whatever the file held.
    static Result parse(std::string_view text);
};

}
