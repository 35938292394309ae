#include "PropertyListReader.h"

#include "BinaryPropertyListCheck.h"
#include "ReadLimits.h"
#include "RegularFile.h"
#include "Utf8.h"

#include <plist/plist.h>

#include <cstdlib>
#include <memory>
#include <optional>

namespace docshelf::foundation {

namespace {

constexpr int maximumNesting = static_cast<int>(ReadLimits::maximumNesting);
constexpr std::size_t maximumFileSize = ReadLimits::maximumFileSize;
constexpr std::size_t maximumValues = ReadLimits::maximumValues;
constexpr std::size_t maximumExpandedBytes = ReadLimits::maximumExpandedBytes;

struct PlistDeleter {
    void operator()(void* node) const { plist_free(static_cast<plist_t>(node)); }
};
using PlistHandle = std::unique_ptr<void, PlistDeleter>;

std::string takeString(char* text) {
    std::string result = text ? text : "";
    std::free(text);
    return result;
}

// Judges an XML property list before the parser sees it, in one pass: the
// parser takes about 230 bytes per value and recurses without limit, and it
// reads a raw NUL byte inside <string> or <key> as the end of the text. Counts
// every start tag but <plist> as a value (keys included, so <dict><key>a</key>
// <true/></dict> holds 3), and every <array> and <dict>, empty ones too, as a
// level. NUL bytes at the very end are padding, allowed by xmlIsComplete.
std::optional<std::string> xmlProblem(std::span<const std::uint8_t> bytes) {
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    std::size_t content = text.find_last_not_of('\0');
    if (text.find('\0') < content)
        return "a NUL byte inside an XML property list";
    int depth = 0;
    std::size_t values = 0;
    for (std::size_t at = text.find('<'); at != std::string_view::npos; at = text.find('<', at + 1)) {
        std::string_view rest = text.substr(at + 1);
        bool closing = rest.starts_with('/');
        if (closing)
            rest.remove_prefix(1);
        bool isElement = !rest.empty() && ((rest[0] >= 'a' && rest[0] <= 'z') || (rest[0] >= 'A' && rest[0] <= 'Z'));
        if (!closing && isElement && !rest.starts_with("plist") && ++values > maximumValues)
            return "more than " + std::to_string(maximumValues) + " values";
        std::size_t nameLength = rest.starts_with("array") ? 5 : rest.starts_with("dict") ? 4 : 0;
        if (nameLength == 0)
            continue;
        std::size_t end = rest.find('>');
        bool selfClosing = end != std::string_view::npos && end > 0 && rest[end - 1] == '/';
        // An empty <array/> one level too deep is as deep as a full one.
        if (closing)
            --depth;
        else if ((selfClosing ? depth + 1 : ++depth) > maximumNesting)
            return "nested deeper than " + std::to_string(maximumNesting) + " levels";
    }
    return std::nullopt;
}

// The XML parser accepts a document that stops before its closing tags; a file
// cut short on the disc must not pass for a whole one.
bool xmlIsComplete(std::span<const std::uint8_t> bytes) {
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    while (!text.empty() && (text.back() == ' ' || text.back() == '\n' || text.back() == '\r' || text.back() == '\t' ||
                             text.back() == '\0'))
        text.remove_suffix(1);
    return text.ends_with("</plist>") || text.ends_with("<plist/>");
}

// What one conversion has found so far: the first fault, and the bytes of
// strings (keys included) and data taken, each value counted where it appears.
struct Conversion {
    std::string error;
    std::size_t bytes = 0;

    void take(std::size_t size) {
        bytes += size;
        if (bytes > maximumExpandedBytes && error.empty())
            error = "strings and data of more than " + std::to_string(maximumExpandedBytes) + " bytes";
    }
};

Value convert(plist_t node, int depth, Conversion& state);

// Makes the library index the array's items: a list read from binary form keeps
// them in a linked list only, and asking for item i walks i links, so that
// 80,000 items took seconds. Appending one item builds the index once the
// array holds more than 100; taking it out again leaves the index in place.
void indexItems(plist_t node, uint32_t size) {
    if (size <= 100)
        return;
    plist_array_append_item(node, plist_new_bool(0));
    plist_array_remove_item(node, size);
}

Value convertArray(plist_t node, int depth, Conversion& state) {
    std::vector<Value> elements;
    uint32_t size = plist_array_get_size(node);
    indexItems(node, size);
    elements.reserve(size);
    for (uint32_t i = 0; i < size && state.error.empty(); ++i)
        elements.push_back(convert(plist_array_get_item(node, i), depth + 1, state));
    return Value::array(std::move(elements));
}

Value convertDictionary(plist_t node, int depth, Conversion& state) {
    std::vector<Value::Entry> entries;
    plist_dict_iter iterator = nullptr;
    plist_dict_new_iter(node, &iterator);
    while (iterator && state.error.empty()) {
        char* key = nullptr;
        plist_t value = nullptr;
        plist_dict_next_item(node, iterator, &key, &value);
        if (!value) {
            std::free(key);
            break;
        }
        std::string name = takeString(key);
        if (!isValidUtf8(name))
            state.error = "a key that is not UTF-8 text";
        state.take(name.size());
        entries.emplace_back(std::move(name), convert(value, depth + 1, state));
    }
    std::free(iterator);
    return Value::dictionary(std::move(entries));
}

Value convert(plist_t node, int depth, Conversion& state) {
    plist_type type = plist_get_node_type(node);
    // The root is level 1: an array or dictionary at depth 128 is one level too
    // deep, empty or not.
    bool container = type == PLIST_ARRAY || type == PLIST_DICT;
    if (depth + (container ? 1 : 0) > maximumNesting) {
        state.error = "nested deeper than " + std::to_string(maximumNesting) + " levels";
        return {};
    }
    switch (type) {
    case PLIST_BOOLEAN: {
        uint8_t flag = 0;
        plist_get_bool_val(node, &flag);
        return Value::boolean(flag != 0);
    }
    case PLIST_UINT: {
        uint64_t number = 0;
        plist_get_uint_val(node, &number);
        return Value::integer(static_cast<std::int64_t>(number));
    }
    case PLIST_REAL: {
        double number = 0;
        plist_get_real_val(node, &number);
        return Value::real(number);
    }
    case PLIST_STRING: {
        // The copying getter asserts when the text holds a NUL character.
        uint64_t length = 0;
        const char* text = plist_get_string_ptr(node, &length);
        std::string copy = text ? std::string(text, length) : std::string();
        if (!isValidUtf8(copy))
            state.error = "a string that is not UTF-8 text";
        state.take(copy.size());
        return Value(std::move(copy));
    }
    case PLIST_DATE: {
        int32_t seconds = 0;
        int32_t microseconds = 0;
        plist_get_date_val(node, &seconds, &microseconds);
        return Value::date(seconds + microseconds / 1e6);
    }
    case PLIST_DATA: {
        char* bytes = nullptr;
        uint64_t length = 0;
        plist_get_data_val(node, &bytes, &length);
        std::vector<std::uint8_t> copy(bytes, bytes + (bytes ? length : 0));
        std::free(bytes);
        state.take(copy.size());
        return Value::data(std::move(copy));
    }
    case PLIST_ARRAY:
        return convertArray(node, depth, state);
    case PLIST_DICT:
        return convertDictionary(node, depth, state);
    default:
        // Keyed-archive UIDs and the like have no place in these files.
        return {};
    }
}

}

PropertyListResult PropertyListReader::parse(std::span<const std::uint8_t> bytes) {
    if (bytes.empty())
        return {{"empty file", 0}, {}};
    if (bytes.size() > maximumFileSize)
        return {{"larger than " + std::to_string(maximumFileSize) + " bytes"}, {}};
    bool binary = plist_is_binary(reinterpret_cast<const char*>(bytes.data()), static_cast<uint32_t>(bytes.size()));
    std::vector<std::uint8_t> mended;
    std::size_t replaced = 0;
    if (binary) {
        auto check = BinaryPropertyListCheck::check(bytes, maximumNesting, maximumValues, maximumExpandedBytes);
        if (check.problem)
            return {{*check.problem}, {}};
        // The library drops a lone surrogate without a trace; the text keeps its
        // place as U+FFFD instead, and the result says how many.
        replaced = check.loneSurrogates.size();
        if (replaced > 0) {
            mended.assign(bytes.begin(), bytes.end());
            for (std::uint64_t offset : check.loneSurrogates) {
                mended[offset] = 0xFF;
                mended[offset + 1] = 0xFD;
            }
            bytes = mended;
        }
    }
    if (!binary)
        if (auto problem = xmlProblem(bytes))
            return {{*problem}, {}};
    if (!binary && !xmlIsComplete(bytes))
        return {{"XML property list does not end with </plist>: cut short?"}, {}};

    plist_t raw = nullptr;
    plist_from_memory(reinterpret_cast<const char*>(bytes.data()), static_cast<uint32_t>(bytes.size()), &raw);
    PlistHandle root(raw);
    if (!root)
        return {{binary ? "not a readable binary property list" : "not a readable XML property list"}, {}};

    Conversion state;
    PropertyListResult result;
    result.root = convert(raw, 0, state);
    result.error = std::move(state.error);
    if (!result.error.empty())
        result.root = {};
    else
        result.replacedCharacters = replaced;
    return result;
}

PropertyListResult PropertyListReader::readFile(const std::string& path) {
    auto file = RegularFile::read(path, maximumFileSize);
    if (!file.bytes)
        return {{std::move(file.error), file.position}, {}};
    return parse(*file.bytes);
}

}
