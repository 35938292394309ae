#pragma once

#include <cstddef>
#include <string>

namespace docshelf::foundation {

// What the readers of disc files say besides their value: why a file reads as
// absent, for people checking a disc, and where in its bytes the reader stopped.
struct ReadOutcome {
    static constexpr std::size_t noPosition = static_cast<std::size_t>(-1);

    std::string error;                 // empty when the file was read
    std::size_t position = noPosition; // byte offset of the problem, when one is known
};

}
