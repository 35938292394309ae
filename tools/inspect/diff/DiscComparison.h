#pragma once

#include <iosfwd>
#include <string>

namespace docshelf::inspect {

// docshelf-inspect diff OLD NEW: reads each disc as its users would see it and
// prints what differs. Exit status as diff's: 0 when the discs agree, 1 when
// they differ, 2 when one cannot be read.
class DiscComparison {
public:
    static int run(const std::string& before, const std::string& after, bool json, std::ostream& out,
                   std::ostream& err);
};

}
