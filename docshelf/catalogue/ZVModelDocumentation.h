#pragma once

#include "platform/foundation/Dictionary.h"

namespace docshelf {

// Builds a model's documentation dictionary ("name", "KPS model ID",
// "Documentation list") from the disc, afresh on every call. Never instantiated.
class ZVModelDocumentation : public foundation::Dictionary {
public:
    ZVModelDocumentation() = delete;

    // Reads the common resource, CDInfo and ModelInfo property lists of the running disc.
    static foundation::Dictionary initWithName(const foundation::Value& name);
    // The common resource property list is accepted and not read.
    static foundation::Dictionary initWithName(const foundation::Value& name, const foundation::Dictionary& cdInfoPlist,
                                               const foundation::Dictionary& modelInfoPlist,
                                               const foundation::Dictionary& commonCdInfoPlist);

    // One entry per language folder in the directory that Documentation.plist names,
    // in Documentation.plist's order. Always an array.
    static foundation::Value languagePropertyList(const foundation::Value& documentationDirectory);
    // One entry per language of the list that Documentation.plist names, each with
    // its online support address. Always an array.
    static foundation::Value languagePropertyList(const foundation::Value& addressStart,
                                                  const foundation::Value& languages,
                                                  const foundation::Value& kpsModelID);
};

}
