#pragma once

#include "inspect/cli/CommandLine.h"

#include <optional>
#include <string>

namespace docshelf::inspect {

// Where the disc that a command line names lies, and which folder its volume is
// read from. A disc folder is enough: its application bundle, its message
// bundle (MacResources/CDCommonMessage.bundle) and, for check, its Windows
// folder are found in it; --app, --message-bundle and --windows override them.
struct DiscFolder {
    std::string app;
    std::optional<std::string> messageBundle;
    std::optional<std::string> windows;
    // "/Volumes/ZORVANE is read from /home/a/draft (the disc folder)"; empty when
    // the lists name no volume and nothing was mapped.
    std::string mapping;
    std::string error; // why the command line names no disc; empty when it does

    // Resolves the command line's disc and installs its volume mapping: every
    // --volume, else the disc folder, else the folder that holds the application
    // bundle, is the volume that the application's lists name.
    static DiscFolder resolve(const CommandLine& command);
};

}
