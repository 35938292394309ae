#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace docshelf::disc {

// Where the key paths of an XML property list lie: the line (counted from 1)
// and byte offset of each key, so that a finding about [Model][RT-20] points
// at the line of <key>RT-20</key>. The file is read and parsed once when the
// index is made, whatever the number of questions asked of it.
class KeyPlaces {
public:
    struct Place {
        std::size_t line = 0; // 0: not known
        std::size_t offset = 0;
    };

    // Reads the file at the path (through the bounded reader) and indexes every key path.
    static KeyPlaces index(const std::string& path);
    // The number of files indexed so far in this process, for the tests that
    // show a check reads each list once, whatever the number of findings.
    static std::size_t indexed();

    // Where the path stops matching, the place of the deepest key found; line 0
    // for the root itself, a binary list, or a file that is not well-formed XML.
    Place find(const std::vector<std::string>& keys) const;
    std::size_t line(const std::vector<std::string>& keys) const { return find(keys).line; }

private:
    // "\x1F"-joined key paths to their key's place; a repeated key keeps its last place.
    std::map<std::string, Place> places_;
};

}
