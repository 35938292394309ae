#pragma once

#include "platform/foundation/Value.h"

namespace docshelf::disc {

// The documentation settings ("Path", "URL", "Language") a model uses: its own
// when its record has a "Documentation", else the disc-wide ones. The model's
// own settings replace the disc-wide ones as a whole: a setting missing from
// them is missing for the model, never taken from the disc-wide dictionary.
struct DocumentationSettings {
    foundation::Value settings; // absent when neither exists
    bool own = false;           // whether they are the model's own

    // `own` is the record's "Documentation" (absent when it has none), `discWide` CDInfo's.
    static DocumentationSettings choose(const foundation::Value& own, const foundation::Value& discWide);
};

}
