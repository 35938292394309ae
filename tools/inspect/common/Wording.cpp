#include "inspect/common/Wording.h"

namespace docshelf::inspect {

std::string inQuotes(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

std::string counted(std::size_t number, const std::string& noun) {
    return std::to_string(number) + " " + noun + (number == 1 ? "" : "s");
}

}
