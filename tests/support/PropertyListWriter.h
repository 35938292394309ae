#pragma once

#include "platform/foundation/PropertyListWriter.h"
#include "platform/foundation/Value.h"

#include <string>

namespace docshelf::testing {

using PlistFormat = foundation::PropertyListFormat;

using foundation::formatName;

// Writes values as real property-list files, so that tests read what discs hold.
class PropertyListWriter {
public:
    static std::string serialize(const foundation::Value& root, PlistFormat format) {
        return foundation::PropertyListWriter::serialize(root, format);
    }
    static void writeFile(const std::string& path, const foundation::Value& root, PlistFormat format) {
        foundation::PropertyListWriter::writeFile(path, root, format);
    }
};

}
