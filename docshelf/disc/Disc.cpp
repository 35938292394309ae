#include "disc/Disc.h"

#include "disc/DiscKeys.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/PropertyListReader.h"
#include "platform/foundation/StringFormat.h"

namespace docshelf::disc {

using foundation::Bundle;
using foundation::Dictionary;
using foundation::FileManager;
using foundation::Position;
using foundation::Problem;
using foundation::PropertyListReader;
using foundation::Value;

namespace {

Position inFile(const std::string& path) {
    Position at;
    at.file = path;
    return at;
}

}

PropertyListFile PropertyListFile::read(const Value& path) {
    PropertyListFile file;
    if (!path.isString())
        return file;
    file.path = std::string(path.text());
    bool isDirectory = false;
    file.exists = FileManager::fileExistsAtPath(path, isDirectory);
    if (!file.exists) {
        file.root = Problem{"the file does not exist", inFile(file.path)};
        return file;
    }
    auto result = PropertyListReader::readFile(file.path);
    if (result.root.isAbsent()) {
        Position at = inFile(file.path);
        at.offset = result.position;
        file.root = Problem{result.error, std::move(at)};
        return file;
    }
    file.root = result.root;
    file.replacedCharacters = result.replacedCharacters;
    file.form = result.form;
    file.dictionary = Dictionary(result.root);
    return file;
}

Position PropertyListFile::origin(const std::vector<std::string>& keys) const {
    Position at = inFile(path);
    at.keyPath = keys;
    if (path.empty() || keys.empty())
        return at;
    if (!places_)
        places_ = std::make_shared<const KeyPlaces>(KeyPlaces::index(path));
    auto place = places_->find(keys);
    if (place.line > 0) {
        at.line = place.line;
        at.offset = place.offset;
    }
    return at;
}

Disc Disc::read() {
    Bundle bundle = Bundle::mainBundle();
    Disc disc;
    if (!bundle.isAbsent()) {
        disc.info = PropertyListFile::read(bundle.infoPlistPath());
        disc.documentation = PropertyListFile::read(foundation::stringWithFormat(
            names::inFolderFormat, {bundle.resourcePath(), Value(names::documentationPlist)}));
    }
    disc.common = PropertyListFile::read(disc.info.dictionary.objectForKey(keys::commonResourcePath));
    disc.cdInfo = PropertyListFile::read(disc.common.dictionary.objectForKey(keys::cdInfo));
    disc.modelInfo = PropertyListFile::read(disc.common.dictionary.objectForKey(keys::modelInfo));
    return disc;
}

ModelRecord Disc::model(const std::string& name) const {
    ModelRecord model{name, {}, {}, {}, {}, {}, {}};
    std::string contained(keys::containedModel), settingsKey(keys::documentation);
    model.record = cdInfo.dictionary.objectForKey(keys::containedModel).objectForKey(name);
    model.recordAt = cdInfo.origin({contained, name});
    model.identification = modelInfo.dictionary.objectForKey(keys::model).objectForKey(name);
    model.identificationAt = modelInfo.origin({std::string(keys::model), name});
    model.settings = DocumentationSettings::choose(model.record.objectForKey(keys::documentation),
                                                   cdInfo.dictionary.objectForKey(keys::documentation));
    model.settingsAt =
        model.settings.own ? cdInfo.origin({contained, name, settingsKey}) : cdInfo.origin({settingsKey});
    return model;
}

std::vector<ModelRecord> Disc::models() const {
    std::vector<ModelRecord> records;
    Value names = cdInfo.dictionary.objectForKey(keys::containedModel).allKeys().sortedCaseInsensitively();
    for (const Value& name : names.elements())
        records.push_back(model(std::string(name.text())));
    return records;
}

}
