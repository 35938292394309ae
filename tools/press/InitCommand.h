#pragma once

#include "DiscPlan.h"
#include "Reporter.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace docshelf::press {

struct InitOptions {
    std::string models;  // the models table (CSV)
    std::string manuals; // the folder of documentation folders
    std::string out;     // the disc folder; its name is the volume name
    DiscWideSettings discWide;
    std::optional<std::string> languageTable; // else the built-in table
    std::string app;                          // the application bundle to copy
    std::string messageTemplate;              // CDCommonMessage.bundle to start from
    std::vector<std::string> localizations;   // folders of further *.lproj
    std::vector<std::string> leftOut;         // the template's localizations left off the disc ("it.lproj")
    std::string windowsPrograms;              // folder of Startwick.exe and Vendpost.exe
    std::vector<std::string> windowsFiles;    // files and folders put into Windows/
    std::string setup;                        // what setup.exe opens, relative to Windows/
    std::string setupArguments;
    bool binary = false;
    bool replace = false;            // an existing disc folder is replaced
    bool force = false;              // the disc is kept even when the check finds errors
    bool followOutsideLinks = false; // links leading out of the named folders are copied as what they name
    std::chrono::seconds limit{600};
};

// Writes a disc folder from manuals and a models table: the property lists,
// the application bundle, the message bundle, the documentation, the Windows
// folder and autorun.inf, first into a staging folder beside the destination;
// checks it with the inspector; and moves it into place when the check finds
// no error. Returns 1 when it failed, else 0; the reporter's finish() gives
// the exit status of what the check found.
class InitCommand {
public:
    static int run(const InitOptions& options, const Reporter& reporter);
};

}
