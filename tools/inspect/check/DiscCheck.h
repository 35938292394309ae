#pragma once

#include "inspect/common/Findings.h"

#include <optional>
#include <string>

namespace docshelf::inspect {

struct CheckOptions {
    std::string app;                          // the application bundle, already the main bundle
    std::optional<std::string> messageBundle; // where the browser looks when not given
    std::optional<std::string> windows;       // the disc's Windows folder, not checked when not given
    std::optional<std::string> disc;          // the disc folder, when the command line named one
};

// Reads the whole disc as the browser does, through the same catalogue and
// localization code, and reports everything that the browser would silently
// pass over: unreadable property lists, values of the wrong type, models that
// lose their documentation, language folders the browser ignores, missing
// texts, and with a Windows folder the launcher copies and inst.ini.
class DiscCheck {
public:
    static Findings run(const CheckOptions& options);
};

}
