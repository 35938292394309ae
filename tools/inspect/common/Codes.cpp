#include "inspect/common/Codes.h"

#include <algorithm>

namespace docshelf::inspect {

const Code* Codes::find(std::string_view code) {
    auto found = std::find_if(std::begin(codeList), std::end(codeList), [&](const Code& c) { return c.code == code; });
    return found == std::end(codeList) ? nullptr : &*found;
}

}
