#pragma once

#include "Value.h"

#include <initializer_list>
#include <string_view>

namespace docshelf::foundation {

// A value that is a dictionary or absent. Subclasses add class operations only.
class Dictionary : public Value {
public:
    Dictionary() = default;
    // Absent unless the value is a dictionary.
    explicit Dictionary(Value value);

    // Builds from key and value pairs in order; the first absent value ends the
    // dictionary, leaving out its key and every key after it.
    static Dictionary withObjectsAndKeys(std::initializer_list<std::pair<std::string_view, Value>> pairs);

    // The dictionary at the root of a property-list file, XML or binary; absent when
    // the path is absent, the file is missing or unreadable, is no property list,
    // or its root is not a dictionary.
    static Dictionary dictionaryWithContentsOfFile(const Value& path);
};

}
