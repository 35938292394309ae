#pragma once

#include "inspect/common/Findings.h"

#include <optional>
#include <string>

namespace docshelf::inspect {

// The application bundles in a disc folder, as a Mac starts them: each folder
// NAME.app needs Contents/Info.plist, a property list with a dictionary at its
// root, whose "CFBundleExecutable" names a file in Contents/MacOS. A broken one
// is an error (its users get no window); a folder without any is checked with
// another bundle (the one built beside the inspector), which a warning says.
class AppBundleCheck {
public:
    // app: the bundle the check reads the disc with.
    static void run(const std::string& discFolder, const std::string& app, Findings& findings);

    // Why a Mac cannot start the bundle, with the place that causes it; nullopt
    // when it can.
    struct Fault {
        Place location;
        std::string reason;
    };
    static std::optional<Fault> fault(const std::string& bundle);
};

}
