#pragma once

#include "platform/foundation/Dictionary.h"

namespace docshelf {

// The CD information dictionary: the disc's model names under "contained models",
// in the order the model pop-up shows them. Never instantiated.
class ZVCDDocumentation : public foundation::Dictionary {
public:
    ZVCDDocumentation() = delete;

    // Reads Info.plist's "CommonResourcePath", that file's "CDInfo", and lists its
    // models; an empty dictionary when any of it cannot be read.
    static foundation::Dictionary initWithCDInfo();
    // The sorted keys of "ContainedModel"; an empty dictionary when the argument is
    // absent or has no "ContainedModel" dictionary.
    static foundation::Dictionary initWithCDInfoPlist(const foundation::Dictionary& cdInfoPlist);
};

}
