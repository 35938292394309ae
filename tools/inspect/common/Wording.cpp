#include "inspect/common/Wording.h"

#include <utility>

namespace docshelf::inspect {

namespace {

// What an invisible character at one end of a name is called, or null.
const char* invisibleAt(std::string_view text, bool atEnd) {
    const std::pair<std::string_view, const char*> kinds[]{
        {" ", "a space"}, {"\t", "a tab"}, {"\xC2\xA0", "a no-break space"}, {"\xE3\x80\x80", "an ideographic space"}};
    for (const auto& [bytes, name] : kinds)
        if (atEnd ? text.ends_with(bytes) : text.starts_with(bytes))
            return name;
    return nullptr;
}

}

std::string inQuotes(std::string_view text) {
    std::string out = "\"" + std::string(text) + "\"";
    // "German " and "German" look alike in a message: say what cannot be seen.
    const char* first = invisibleAt(text, false);
    const char* last = invisibleAt(text, true);
    if (first && last && text.size() > 1)
        out += std::string(" (starts with ") + first + " and ends with " + last + ")";
    else if (first)
        out += std::string(" (starts with ") + first + ")";
    else if (last)
        out += std::string(" (ends with ") + last + ")";
    return out;
}

std::string counted(std::size_t number, const std::string& noun) {
    return std::to_string(number) + " " + noun + (number == 1 ? "" : "s");
}

}
