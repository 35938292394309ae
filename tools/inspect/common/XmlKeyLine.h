#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace docshelf::inspect {

// The line (counted from 1) of a key path in an XML property list, so that a
// finding about [Model][RT-20] points at the line of <key>RT-20</key>. Where
// the path stops matching, the line of the deepest key found; 0 for the root
// itself, a binary list, or a file that is not well-formed XML.
class XmlKeyLine {
public:
    static std::size_t find(const std::string& path, const std::vector<std::string>& keys);
};

}
