#include "ZVCDDocumentation.h"

#include "DocumentationKeys.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/PropertyListLookup.h"

namespace docshelf {

using foundation::Bundle;
using foundation::Dictionary;
using foundation::PropertyListLookup;
using foundation::Value;

// Only the keys of "ContainedModel" are read, not the records under them.
Dictionary ZVCDDocumentation::initWithCDInfo() {
    Value common = Bundle::mainBundle().objectForInfoDictionaryKey(keys::commonResourcePath);
    Value cdInfo = PropertyListLookup::valueInFile(common, {{std::string(keys::cdInfo)}});
    Value models = PropertyListLookup::valueInFile(cdInfo, {{std::string(keys::containedModel)}, true});
    return Dictionary::withObjectsAndKeys({{keys::containedModels, models.sortedCaseInsensitively()}});
}

Dictionary ZVCDDocumentation::initWithCDInfoPlist(const Dictionary& cdInfoPlist) {
    auto models = cdInfoPlist.objectForKey(keys::containedModel).allKeys().sortedCaseInsensitively();
    return Dictionary::withObjectsAndKeys({{keys::containedModels, models}});
}

}
