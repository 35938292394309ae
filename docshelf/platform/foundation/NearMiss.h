#pragma once

#include <cstddef>
#include <string_view>

namespace docshelf::foundation {

// The one rule for "did you mean": whether a name someone wrote is a slip for
// a name that exists. Letter case (ASCII) is ignored and every byte counts as
// a letter.
class NearMiss {
public:
    // Letters to insert, delete or replace to turn one text into the other.
    //   ("Germna", "German") -> 2     ("deutsh", "Deutsch") -> 1
    static std::size_t editDistance(std::string_view a, std::string_view b);

    // Texts at most a third of the longer one's letters apart (at least one
    // letter, at most three); texts equal but for letter case are near too.
    //   "Germna" for "German" -> true (2 of 6)    "QX-50" for "QX-500" -> true
    //   "Top.pdf" for "top.pdf" -> true            "index.html" for "top.html" -> false
    static bool isSlipFor(std::string_view written, std::string_view meant);
};

}
