#pragma once

#include "inspect/common/Findings.h"

#include <string>
#include <vector>

namespace docshelf::inspect {

// The model names as the model pop-up shows them: an empty name is an item
// without a title, and spaces or controls at either end are shown (and sorted)
// as they are, while ModelInfo, the supplies launchers and the author's table
// usually spell the name without them.
class ModelNameCheck {
public:
    // containedAt: where "ContainedModel" stands.
    static void run(const std::vector<std::string>& models, const Place& containedAt, Findings& findings);
};

}
