#pragma once

#include <string>
#include <string_view>

namespace docshelf::testing {

// A GoogleTest parameter name from a case's description: ASCII letters and
// digits kept, every run of anything else one underscore.
inline std::string caseName(std::string_view description) {
    std::string name;
    for (char c : description) {
        bool keep = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (keep)
            name += c;
        else if (!name.empty() && name.back() != '_')
            name += '_';
    }
    while (!name.empty() && name.back() == '_')
        name.pop_back();
    return name.empty() ? "unnamed" : name;
}

}
