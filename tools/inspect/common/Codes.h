#pragma once

#include <string_view>
#include <vector>

namespace docshelf::inspect {

// What one finding's code stands for, for --explain and the rules of SARIF.
struct Code {
    std::string_view code;    // "model-without-kpsid"
    std::string_view meaning; // what the check found
    std::string_view seen;    // what the user of the disc sees
    std::string_view fix;     // what the disc's author changes
};

// Every code that check and render report, in the order of the README's table.
class Codes {
public:
    static const std::vector<Code>& all();
    // Null for a code that does not exist.
    static const Code* find(std::string_view code);
};

}
