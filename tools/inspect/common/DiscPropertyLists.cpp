#include "inspect/common/DiscPropertyLists.h"

#include "catalogue/DocumentationKeys.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/PropertyListReader.h"

namespace docshelf::inspect {

using foundation::Bundle;
using foundation::Dictionary;
using foundation::FileManager;
using foundation::PropertyListReader;
using foundation::Value;

PropertyListFile DiscPropertyLists::readFile(const Value& path) {
    PropertyListFile file;
    if (!path.isString())
        return file;
    file.path = std::string(path.text());
    bool isDirectory = false;
    file.exists = FileManager::fileExistsAtPath(path, isDirectory);
    if (!file.exists)
        return file;
    auto result = PropertyListReader::readFile(file.path);
    file.root = result.root;
    file.error = result.error;
    file.replacedCharacters = result.replacedCharacters;
    file.form = result.form;
    file.dictionary = Dictionary(result.root);
    return file;
}

DiscPropertyLists DiscPropertyLists::read() {
    Bundle bundle = Bundle::mainBundle();
    DiscPropertyLists lists;
    std::string resources(bundle.resourcePath().text());
    // Contents/Resources → Contents/Info.plist; a flat bundle keeps both in one folder.
    std::string contents = resources.ends_with("/Resources") ? resources.substr(0, resources.size() - 10) : resources;
    if (!bundle.isAbsent()) {
        lists.info = readFile(Value(contents + "/Info.plist"));
        lists.documentation = readFile(Value(resources + "/Documentation.plist"));
    }
    lists.common = readFile(lists.info.dictionary.objectForKey(keys::commonResourcePath));
    lists.cdInfo = readFile(lists.common.dictionary.objectForKey(keys::cdInfo));
    lists.modelInfo = readFile(lists.common.dictionary.objectForKey(keys::modelInfo));
    return lists;
}

}
