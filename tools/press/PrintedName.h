#pragma once

#include <string>
#include <string_view>

namespace docshelf::press {

// A file name or other outside text as the press prints it: on one line, with
// no control that reaches the terminal (line breaks, ESC, C1 controls, the
// Unicode line separators and direction overrides escaped the way the
// inspector's findings escape them, bytes that are not UTF-8 as "\xNN"), and a
// name longer than a screen cut in its middle, so a 1 MB name is not a 1 MB line.
class PrintedName {
public:
    static std::string of(std::string_view text, std::size_t longest = 300);
};

}
