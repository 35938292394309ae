#include "ZVCDDocumentation.h"

#include "DocumentationKeys.h"

#include "platform/foundation/Bundle.h"

namespace docshelf {

using foundation::Bundle;
using foundation::Dictionary;

Dictionary ZVCDDocumentation::initWithCDInfo() {
    Dictionary info = Bundle::mainBundle().infoDictionary();
    Dictionary common = Dictionary::dictionaryWithContentsOfFile(info.objectForKey(keys::commonResourcePath));
    Dictionary cdInfo = Dictionary::dictionaryWithContentsOfFile(common.objectForKey(keys::cdInfo));
    return initWithCDInfoPlist(cdInfo);
}

Dictionary ZVCDDocumentation::initWithCDInfoPlist(const Dictionary& cdInfoPlist) {
    auto models = cdInfoPlist.objectForKey(keys::containedModel).allKeys().sortedCaseInsensitively();
    return Dictionary::withObjectsAndKeys({{keys::containedModels, models}});
}

}
