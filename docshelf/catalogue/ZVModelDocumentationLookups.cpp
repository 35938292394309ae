#include "ZVModelDocumentationLookups.h"

#include "DocumentationKeys.h"

namespace docshelf {

using foundation::Value;

namespace {

Value lookUp(const Value& dictionary, const Value& displayName, std::string_view key) {
    for (const Value& entry : dictionary.objectForKey(keys::documentationList).elements()) {
        if (entry.objectForKey(keys::documentationDisplayName).isEqualToString(displayName))
            return entry.objectForKey(key);
    }
    return {};
}

}

Value documentationPathWithDisplayLanguageName(const Value& dictionary, const Value& displayName) {
    return lookUp(dictionary, displayName, keys::documentationPath);
}

Value documentationReadMePathWithDisplayLanguageName(const Value& dictionary, const Value& displayName) {
    return lookUp(dictionary, displayName, keys::documentationReadmePath);
}

Value documentationURLWithDisplayLanguageName(const Value& dictionary, const Value& displayName) {
    return lookUp(dictionary, displayName, keys::documentationURL);
}

}
