#pragma once

#include "platform/foundation/RegularFile.h"

#include <string>

namespace docshelf::cli {

// A file named on the command line: "-" is standard input, read to its end;
// any other path is read as the bounded reader reads a regular file.
class InputFile {
public:
    static foundation::RegularFileResult read(const std::string& path, std::size_t maximumSize);
};

}
