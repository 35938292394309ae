#pragma once

#include <string>
#include <vector>

namespace docshelf::testing {

struct ProcessResult {
    int exitStatus = -1; // -1 when the process did not end normally
    std::string out;
    std::string err;
};

// Runs a program directly (no shell) and collects what it printed, through
// the runner the tools use.
ProcessResult runProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const std::vector<std::string>& environment = {});

// Whether the process has ended (gone, or a zombie not yet reaped), given the
// system a moment to deliver a kill.
bool processEnded(int pid);

}
