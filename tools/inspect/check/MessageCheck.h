#pragma once

#include "inspect/common/Findings.h"

#include <optional>
#include <string>
#include <vector>

namespace docshelf::inspect {

// Checks the texts that the window shows: for each localization of the common
// message bundle, the keys of the browser's table as the browser looks them up
// for a user of that language, the language code of the automatic choice, and
// the application's "InfoPlist" table.
class MessageCheck {
public:
    struct Input {
        std::string app;
        std::optional<std::string> messageBundle; // the browser's location when not given
        std::vector<std::string> kpsCodes;        // the "KPS Code" values of Documentation.plist
    };

    static void run(const Input& input, Findings& findings);
    // The keys of the common message bundle that the window looks up.
    static std::vector<std::string> keys();
    // The disc's own common message bundle, in MacResources beside the application:
    //   "/discs/ZORVANE/Docshelf.app" → "/discs/ZORVANE/MacResources/CDCommonMessage.bundle"
    static std::string bundleBesideApp(const std::string& app);
};

}
