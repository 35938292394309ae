#pragma once

#include "inspect/cli/CommandLine.h"
#include "inspect/cli/DiscFolder.h"
#include "inspect/common/Findings.h"

#include <optional>
#include <string>

namespace docshelf::inspect {

// What the inspector's programs do around every command: read the command line
// (the usage, the version and its errors), find the disc, and report findings.
class CommandRun {
public:
    // The command line to run, or the exit status when there is nothing more to
    // do: 0 after the usage, the version or an explanation, 2 after a usage error.
    static std::optional<CommandLine> read(int argc, char** argv, int& status);

    // The disc the command line names, its notes on standard error and its
    // volume mapping installed; nullopt, with the reason said, when there is none.
    static std::optional<DiscFolder> openDisc(const CommandLine& command);

    // The findings of check or render in the chosen format, the count on standard
    // error, and the exit status: 1 with an error (or, --strict, a warning).
    static int reportFindings(Findings& findings, const CommandLine& command, const std::string& before);
};

}
