#pragma once

#include "platform/foundation/Result.h"

#include <optional>
#include <string>

namespace docshelf::inspect {

// Where an XML file stops being well-formed XML, for people fixing a property
// list that the reader refused: what is wrong, at which line and byte column
// (counted from 1) and byte offset.
// "<plist>\n<dict>\n<key>A</dict>\n" → "Start-end tags mismatch" at line 3, column 9.
// Nullopt for well-formed XML, for a binary file, or a file that cannot be read.
class XmlErrorLine {
public:
    static std::optional<foundation::Problem> find(const std::string& path);
};

}
