#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace docshelf::inspect {

// A name from the disc as messages quote it: inQuotes("German") → "\"German\"".
std::string inQuotes(std::string_view text);

// "1 error", "3 warnings", "0 notes".
std::string counted(std::size_t number, const std::string& noun);

}
