#pragma once

#include "platform/foundation/Value.h"

// The lookups that every dictionary answers about a model documentation
// dictionary: the first entry of "Documentation list" whose display name equals
// the given one exactly decides; absent when no entry matches or it lacks the key.
namespace docshelf {

foundation::Value documentationPathWithDisplayLanguageName(const foundation::Value& dictionary,
                                                           const foundation::Value& displayName);
foundation::Value documentationReadMePathWithDisplayLanguageName(const foundation::Value& dictionary,
                                                                 const foundation::Value& displayName);
foundation::Value documentationURLWithDisplayLanguageName(const foundation::Value& dictionary,
                                                          const foundation::Value& displayName);

}
