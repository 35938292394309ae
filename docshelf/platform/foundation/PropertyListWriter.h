#pragma once

#include "Value.h"

#include <string>

namespace docshelf::foundation {

enum class PropertyListFormat { Xml, Binary };

inline const char* formatName(PropertyListFormat format) {
    return format == PropertyListFormat::Xml ? "xml" : "binary";
}

// Writes values as property-list files, XML or binary, in the form the reader
// takes back. Beside PropertyListReader, the only code that sees the library.
class PropertyListWriter {
public:
    static std::string serialize(const Value& root, PropertyListFormat format);
    // Creates the folders on the way; false when the file could not be written whole.
    static bool writeFile(const std::string& path, const Value& root, PropertyListFormat format);
};

}
