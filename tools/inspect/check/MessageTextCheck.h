#pragma once

#include "inspect/common/Findings.h"

#include <optional>
#include <string>

namespace docshelf::inspect {

// Texts of the common message bundle that are there but empty (or only
// spaces): the browser shows them as they are, so a button or label goes blank,
// where a missing key would at least show the key.
class MessageTextCheck {
public:
    // messageBundle: the bundle that the check reads, as MessageCheck finds it.
    static void run(const std::string& app, const std::optional<std::string>& messageBundle, Findings& findings);
};

}
