#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace docshelf::inspect {

// Where an XML file stops being well-formed XML, for people fixing a property
// list that the reader refused: the line and byte column (counted from 1) and what is wrong.
// "<plist>\n<dict>\n<key>A</dict>\n" → line 3, "Start-end tags mismatch".
// Nullopt for well-formed XML, for a binary file, or a file that cannot be read.
struct XmlError {
    std::size_t line = 0;
    std::size_t column = 0;
    std::string description;
};

class XmlErrorLine {
public:
    static std::optional<XmlError> find(const std::string& path);
};

}
