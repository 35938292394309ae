#include "PropertyListWriter.h"

#include <plist/plist.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace docshelf::foundation {

namespace {

plist_t toPlist(const Value& value) {
    switch (value.kind()) {
    case Value::Kind::String:
        return plist_new_string(std::string(value.text()).c_str());
    case Value::Kind::Integer:
        return plist_new_uint(static_cast<uint64_t>(value.integerValue()));
    case Value::Kind::Real:
        return plist_new_real(value.realValue());
    case Value::Kind::Boolean:
        return plist_new_bool(value.boolValue());
    case Value::Kind::Date: {
        double seconds = value.dateValue();
        auto whole = static_cast<int32_t>(seconds);
        return plist_new_date(whole, static_cast<int32_t>((seconds - whole) * 1e6));
    }
    case Value::Kind::Data: {
        auto bytes = value.bytes();
        return plist_new_data(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    case Value::Kind::Array: {
        plist_t array = plist_new_array();
        for (const auto& element : value.elements())
            plist_array_append_item(array, toPlist(element));
        return array;
    }
    case Value::Kind::Dictionary: {
        plist_t dict = plist_new_dict();
        for (const auto& [key, element] : value.entries())
            plist_dict_set_item(dict, key.c_str(), toPlist(element));
        return dict;
    }
    case Value::Kind::Absent:
        break;
    }
    throw std::invalid_argument("an absent value cannot be written to a property list");
}

}

std::string PropertyListWriter::serialize(const Value& root, PropertyListFormat format) {
    plist_t node = toPlist(root);
    char* bytes = nullptr;
    uint32_t length = 0;
    if (format == PropertyListFormat::Xml)
        plist_to_xml(node, &bytes, &length);
    else
        plist_to_bin(node, &bytes, &length);
    std::string result(bytes, length);
    std::free(bytes);
    plist_free(node);
    return result;
}

bool PropertyListWriter::writeFile(const std::string& path, const Value& root, PropertyListFormat format) {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << serialize(root, format);
    file.close();
    return file.good();
}

}
