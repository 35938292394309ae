#include "Dictionary.h"

#include "PropertyListReader.h"

namespace docshelf::foundation {

Dictionary::Dictionary(Value value) : Value(value.isDictionary() ? std::move(value) : Value()) {}

Dictionary Dictionary::withObjectsAndKeys(std::initializer_list<std::pair<std::string_view, Value>> pairs) {
    std::vector<Entry> entries;
    for (const auto& [key, value] : pairs) {
        if (value.isAbsent())
            break;
        entries.emplace_back(std::string(key), value);
    }
    return Dictionary(Value::dictionary(std::move(entries)));
}

Dictionary Dictionary::dictionaryWithContentsOfFile(const Value& path) {
    if (!path.isString())
        return {};
    return Dictionary(PropertyListReader::readFile(std::string(path.text())).root);
}

}
