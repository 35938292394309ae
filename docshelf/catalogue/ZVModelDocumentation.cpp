#include "ZVModelDocumentation.h"

#include "DocumentationKeys.h"

#include "disc/DocumentationSettings.h"
#include "disc/LanguageFolders.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/PropertyListLookup.h"
#include "platform/foundation/StringFormat.h"

#include <span>
#include <vector>

namespace docshelf {

using foundation::Bundle;
using foundation::Dictionary;
using foundation::FileManager;
using foundation::KeyPath;
using foundation::PropertyListLookup;
using foundation::stringWithFormat;
using foundation::Value;

namespace {

// The folder information list of Documentation.plist in the application's
// resources. Without a resource directory there is no such file to read.
Value folderInformationList() {
    Value resources = Bundle::mainBundle().resourcePath();
    if (resources.isAbsent())
        return {};
    return PropertyListLookup::valueInFile(
        stringWithFormat(names::inFolderFormat, {resources, Value(names::documentationPlist)}),
        {{std::string(keys::folderInfoArray)}});
}

// Calls visit(displayName, code, name) for each member of the folder information
// list, in its order, and each of the names that equals the member's "Folder Name".
template <class Visit>
void forEachNamedFolder(const Value& members, std::span<const Value> names, Visit visit) {
    for (const auto& match : disc::LanguageFolders::match(members, names))
        visit(match.member.objectForKey(keys::displayName), match.member.objectForKey(keys::kpsCode), match.name);
}

Value existingOrEmpty(const Value& path) {
    return FileManager::fileExistsAtPath(path) ? path : Value("");
}

// The answers of the list at the path, all absent when the path is not a string.
std::vector<Value> readAnswers(const Value& path, const std::vector<KeyPath>& questions) {
    if (!path.isString())
        return std::vector<Value>(questions.size());
    return PropertyListLookup::readFile(std::string(path.text()), questions).values;
}

// The model documentation dictionary from the model's identification record
// and the documentation settings chosen for it.
Dictionary build(const Value& name, const Value& identification, const Value& settings) {
    Value modelID = identification.isAbsent() ? Value("") : identification.objectForKey(keys::kpsID);
    Value list = ZVModelDocumentation::languagePropertyList(settings.objectForKey(keys::path));
    if (list.count() == 0)
        list = ZVModelDocumentation::languagePropertyList(settings.objectForKey(keys::url),
                                                          settings.objectForKey(keys::language), modelID);
    return Dictionary::withObjectsAndKeys(
        {{keys::name, name}, {keys::kpsModelID, modelID}, {keys::documentationList, list}});
}

}

// Reads only the records asked for: the model's in ModelInfo and in CDInfo,
// and CDInfo's disc-wide settings, each list once.
Dictionary ZVModelDocumentation::initWithName(const Value& name) {
    Value common = Bundle::mainBundle().objectForInfoDictionaryKey(keys::commonResourcePath);
    std::vector<KeyPath> lists{{{std::string(keys::cdInfo)}}, {{std::string(keys::modelInfo)}}};
    std::vector<Value> paths = readAnswers(common, lists);

    std::string model(name.text());
    std::vector<KeyPath> records{{{std::string(keys::containedModel), model, std::string(keys::documentation)}},
                                 {{std::string(keys::documentation)}}};
    std::vector<Value> cdInfo = readAnswers(paths[0], records);
    Value identification =
        name.isString() ? PropertyListLookup::valueInFile(paths[1], {{std::string(keys::model), model}}) : Value();
    // Only a string names a model: any other name finds no record.
    Value ownSettings = name.isString() ? cdInfo[0] : Value();
    return build(name, identification, disc::DocumentationSettings::choose(ownSettings, cdInfo[1]).settings);
}

Dictionary ZVModelDocumentation::initWithName(const Value& name, const Dictionary& cdInfoPlist,
                                              const Dictionary& modelInfoPlist, const Dictionary&) {
    Value identification = modelInfoPlist.objectForKey(keys::model).objectForKey(name);
    Value record = cdInfoPlist.objectForKey(keys::containedModel).objectForKey(name);
    Value settings = disc::DocumentationSettings::choose(record.objectForKey(keys::documentation),
                                                         cdInfoPlist.objectForKey(keys::documentation))
                         .settings;
    return build(name, identification, settings);
}

Value ZVModelDocumentation::languagePropertyList(const Value& documentationDirectory) {
    std::vector<Value> entries;
    if (documentationDirectory.isAbsent())
        return Value::array(entries);

    std::vector<Value> folders = disc::LanguageFolders::scan(documentationDirectory);
    Value members = folderInformationList();
    if (members.count() == 0)
        return Value::array(entries);

    forEachNamedFolder(members, folders, [&](const Value& displayName, const Value& code, const Value& folder) {
        auto inFolder = [&](std::string_view file) {
            return existingOrEmpty(
                stringWithFormat(names::inLanguageFolderFormat, {documentationDirectory, folder, Value(file)}));
        };
        Value start = inFolder(names::startPdf);
        if (!start.isNonEmptyString())
            start = inFolder(names::startHtml);
        Value readMe = inFolder(names::readMe);
        entries.push_back(Dictionary::withObjectsAndKeys({
            {keys::documentationDisplayName, displayName},
            {keys::documentationPath, start},
            {keys::documentationReadmePath, readMe},
            {keys::documentationLanguageCode, code},
            {keys::documentationURL, ""},
        }));
    });
    return Value::array(std::move(entries));
}

Value ZVModelDocumentation::languagePropertyList(const Value& addressStart, const Value& languages,
                                                 const Value& kpsModelID) {
    std::vector<Value> entries;
    if (addressStart.isAbsent())
        return Value::array(entries);

    Value members = folderInformationList();
    if (members.count() == 0)
        return Value::array(entries);

    forEachNamedFolder(members, languages.elements(), [&](const Value& displayName, const Value& code, const Value&) {
        Value address = stringWithFormat(keys::onlineAddressFormat, {addressStart, kpsModelID, code});
        entries.push_back(Dictionary::withObjectsAndKeys({
            {keys::documentationDisplayName, displayName},
            {keys::documentationPath, ""},
            {keys::documentationReadmePath, ""},
            {keys::documentationLanguageCode, code},
            {keys::documentationURL, address},
        }));
    });
    return Value::array(std::move(entries));
}

}
