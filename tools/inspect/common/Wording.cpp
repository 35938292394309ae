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

// Names on a disc may hold line breaks and terminal controls; each finding
// stays on one line and sends no control to the terminal. "a\nb" → "a\\nb",
// ESC → "\\x1B", U+0085 → "\\u0085", U+2028 → "\\u2028".
std::string oneLine(const std::string& text) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto c = static_cast<unsigned char>(text[i]);
        auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        auto third = i + 2 < text.size() ? static_cast<unsigned char>(text[i + 2]) : 0;
        if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c == 0x7F) {
            out += std::string("\\x") + hex[c >> 4] + hex[c & 0xF];
        } else if (c == 0xC2 && next >= 0x80 && next <= 0x9F) {
            // C1 controls, U+0080 to U+009F, NEL among them.
            out += std::string("\\u00") + hex[next >> 4] + hex[next & 0xF];
            ++i;
        } else if (c == 0xE2 && next == 0x80 && (third == 0xA8 || third == 0xA9)) {
            out += third == 0xA8 ? "\\u2028" : "\\u2029";
            i += 2;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}


}
