#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace docshelf::inspect {

// A name from the disc as messages quote it: inQuotes("German") → "\"German\"".
std::string inQuotes(std::string_view text);

// Names on a disc may hold line breaks and terminal controls; each message
// stays on one line and sends no control to the terminal. "a\nb" → "a\\nb",
// ESC → "\\x1B", U+0085 → "\\u0085", U+2028 → "\\u2028".
std::string oneLine(const std::string& text);

// "1 error", "3 warnings", "0 notes".
std::string counted(std::size_t number, const std::string& noun);

}
