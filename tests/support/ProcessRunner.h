#pragma once

#include <string>
#include <vector>

namespace docshelf::testing {

struct ProcessResult {
    int exitStatus = -1;  // -1 when the process did not end normally
    std::string out;
    std::string err;
};

// Runs a program directly (no shell) and collects what it printed.
ProcessResult runProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const std::vector<std::string>& environment = {});

}
