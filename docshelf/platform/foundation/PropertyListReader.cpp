#include "PropertyListReader.h"

#include "BinaryPropertyListCheck.h"
#include "OldStylePropertyList.h"
#include "ReadLimits.h"
#include "RegularFile.h"
#include "Utf8.h"

#include <plist/plist.h>

#include <algorithm>
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

PropertyListResult failure(std::string error, std::size_t position = ReadOutcome::noPosition) {
    PropertyListResult result;
    result.error = std::move(error);
    result.position = position;
    return result;
}

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

// The text of a list that is not binary, as UTF-8, and how it was written.
struct Text {
    std::string decoded;      // filled only when the bytes were not UTF-8 already
    std::string_view utf8;    // the text to parse
    std::size_t markSize = 0; // bytes of the byte-order mark
    std::size_t unitSize = 1; // 1 for UTF-8, 2 for UTF-16, 4 for UTF-32
    std::string encoding;     // "" for UTF-8 without a mark, else how the form names it
    std::string error;
    std::size_t position = ReadOutcome::noPosition;
};

bool startsWith(std::span<const std::uint8_t> bytes, std::string_view prefix) {
    return bytes.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), bytes.begin(),
                      [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
}

void decodeUtf32(std::span<const std::uint8_t> bytes, bool bigEndian, Text& text) {
    std::size_t i = 0;
    for (; i + 3 < bytes.size(); i += 4) {
        char32_t c = bigEndian ? char32_t(bytes[i] << 24 | bytes[i + 1] << 16 | bytes[i + 2] << 8 | bytes[i + 3])
                               : char32_t(bytes[i + 3] << 24 | bytes[i + 2] << 16 | bytes[i + 1] << 8 | bytes[i]);
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            text.error = "UTF-32 text holding a value that is no character";
            text.position = text.markSize + i;
            return;
        }
        appendUtf8(text.decoded, c);
    }
    if (i < bytes.size()) {
        text.error = "UTF-32 text whose length is not a multiple of four bytes";
        text.position = text.markSize + i;
    }
}

// Finds the encoding by the byte-order mark, else by the first characters as
// XML's own rules do (an XML declaration in UTF-16 shows as "<\0?\0"), else
// takes UTF-8, and decodes to UTF-8.
Text decode(std::span<const std::uint8_t> bytes) {
    Text text;
    auto utf16 = [&](bool bigEndian, std::string how) {
        text.unitSize = 2;
        text.encoding = "UTF-16 (" + std::string(bigEndian ? "big" : "little") + "-endian, " + how + ")";
        if (auto problem = appendUtf16(bytes.subspan(text.markSize), bigEndian, text.decoded)) {
            text.error = problem->what;
            text.position = text.markSize + problem->offset;
        }
    };
    if (startsWith(bytes, std::string_view("\xFF\xFE\0\0", 4)) ||
        startsWith(bytes, std::string_view("\0\0\xFE\xFF", 4))) {
        bool bigEndian = bytes[0] == 0;
        text.markSize = 4;
        text.unitSize = 4;
        text.encoding = "UTF-32 (" + std::string(bigEndian ? "big" : "little") + "-endian, with a byte-order mark)";
        decodeUtf32(bytes.subspan(4), bigEndian, text);
    } else if (startsWith(bytes, "\xFF\xFE") || startsWith(bytes, "\xFE\xFF")) {
        text.markSize = 2;
        utf16(bytes[0] == 0xFE, "with a byte-order mark");
    } else if (startsWith(bytes, std::string_view("<\0?\0", 4)) || startsWith(bytes, std::string_view("\0<\0?", 4))) {
        utf16(bytes[0] == 0, "without a byte-order mark, as its XML declaration shows");
    } else if (bytes.size() >= 2 && (bytes[0] == 0) != (bytes[1] == 0)) {
        text.encoding = "UTF-16 without a byte-order mark";
        text.error = "UTF-16 text without a byte-order mark or an XML declaration; save it with a byte-order "
                     "mark, or as UTF-8";
        text.position = 0;
        return text;
    } else if (bytes.size() >= 2 && bytes[0] == 0) {
        text.encoding = "no known encoding";
        text.error = "neither a binary property list nor text (it starts with NUL bytes)";
        text.position = 0;
        return text;
    } else {
        std::string_view raw(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        if (raw.starts_with("\xEF\xBB\xBF")) {
            text.markSize = 3;
            text.encoding = "UTF-8 with a byte-order mark";
            raw.remove_prefix(3);
        }
        text.utf8 = raw;
        return text;
    }
    text.utf8 = text.decoded;
    return text;
}

// XML opens with a declaration, a document type, a comment or the plist
// element; an old-style list with a brace, a parenthesis, "<" and a
// hexadecimal digit (data), or a string.
bool isXml(std::string_view text) {
    std::size_t start = text.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos)
        return false;
    text.remove_prefix(start);
    return text.starts_with("<?") || text.starts_with("<!") || text.starts_with("<plist");
}

// XML whose declaration names the encoding it was decoded from now names UTF-8,
// so that the parser does not decode it a second time.
void declareUtf8(std::string& xml) {
    if (!xml.starts_with("<?xml"))
        return;
    std::size_t end = xml.find("?>");
    std::size_t name = xml.find("encoding", 0);
    if (end == std::string::npos || name == std::string::npos || name > end)
        return;
    std::size_t open = xml.find_first_of("\"'", name);
    if (open == std::string::npos || open > end)
        return;
    std::size_t close = xml.find(xml[open], open + 1);
    if (close == std::string::npos || close > end)
        return;
    xml.replace(open + 1, close - open - 1, "UTF-8");
}

// The byte offset in the file of an offset in the decoded text.
std::size_t fileOffset(const Text& text, std::size_t position) {
    if (position == ReadOutcome::noPosition || text.unitSize == 1)
        return position == ReadOutcome::noPosition ? position : text.markSize + position;
    std::size_t units = 0;
    std::size_t at = 0;
    while (at < position && at < text.utf8.size()) {
        std::size_t before = at;
        auto c = decodeUtf8(text.utf8, at);
        if (!c) {
            at = before + 1;
            ++units;
            continue;
        }
        units += text.unitSize == 2 && *c >= 0x10000 ? 2u : 1u;
    }
    return text.markSize + units * text.unitSize;
}

PropertyListResult parseBinary(std::span<const std::uint8_t> bytes) {
    auto check = BinaryPropertyListCheck::check(bytes, maximumNesting, maximumValues, maximumExpandedBytes);
    if (check.problem)
        return failure(*check.problem);
    // The library drops a lone surrogate without a trace; the text keeps its
    // place as U+FFFD instead, and the result says how many.
    std::vector<std::uint8_t> mended;
    std::size_t replaced = check.loneSurrogates.size();
    if (replaced > 0) {
        mended.assign(bytes.begin(), bytes.end());
        for (std::uint64_t offset : check.loneSurrogates) {
            mended[offset] = 0xFF;
            mended[offset + 1] = 0xFD;
        }
        bytes = mended;
    }
    plist_t raw = nullptr;
    plist_from_memory(reinterpret_cast<const char*>(bytes.data()), static_cast<uint32_t>(bytes.size()), &raw);
    PlistHandle root(raw);
    if (!root)
        return failure("not a readable binary property list");
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

PropertyListResult parseXml(std::string_view xml) {
    std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(xml.data()), xml.size());
    if (auto problem = xmlProblem(bytes))
        return failure(*problem);
    if (!xmlIsComplete(bytes))
        return failure(xml.find("</plist>") != std::string_view::npos
                           ? "XML property list with text after </plist>"
                           : "XML property list that does not end with </plist>: cut short?");
    plist_t raw = nullptr;
    plist_from_memory(xml.data(), static_cast<uint32_t>(xml.size()), &raw);
    PlistHandle root(raw);
    if (!root)
        return failure("not a readable XML property list");
    Conversion state;
    PropertyListResult result;
    result.root = convert(raw, 0, state);
    result.error = std::move(state.error);
    if (!result.error.empty())
        result.root = {};
    return result;
}

}

PropertyListResult PropertyListReader::parse(std::span<const std::uint8_t> bytes) {
    if (bytes.empty())
        return failure("empty file", 0);
    if (bytes.size() > maximumFileSize)
        return failure("larger than " + std::to_string(maximumFileSize) + " bytes");
    if (plist_is_binary(reinterpret_cast<const char*>(bytes.data()), static_cast<uint32_t>(bytes.size())))
        return parseBinary(bytes);
    // The first bytes of a binary list cut short are no text either.
    std::string_view magic = "bplist00";
    if (startsWith(bytes, magic.substr(0, std::min(bytes.size(), magic.size()))))
        return failure("binary property list that is cut short (" + std::to_string(bytes.size()) + " bytes)", 0);

    Text text = decode(bytes);
    bool xml = text.error.empty() && isXml(text.utf8);
    std::string form = xml ? (text.encoding.empty() ? "" : "XML in " + text.encoding)
                           : "old-style text" + (text.encoding.empty() ? "" : " in " + text.encoding);
    if (!text.error.empty()) {
        PropertyListResult result = failure(text.error, text.position);
        result.form = text.encoding.empty() ? "" : "text in " + text.encoding;
        return result;
    }
    if (text.unitSize == 1 && !text.encoding.empty())
        form = (xml ? "XML" : "old-style text") + std::string(" with a UTF-8 byte-order mark");

    PropertyListResult result;
    if (xml && !text.decoded.empty()) {
        declareUtf8(text.decoded);
        result = parseXml(text.decoded);
    } else if (xml) {
        result = parseXml(text.utf8);
    } else if (std::size_t valid = validUtf8Prefix(text.utf8); valid != text.utf8.size()) {
        result = failure("text that is not UTF-8 (a byte-order mark tells UTF-16)", fileOffset(text, valid));
    } else {
        auto read = OldStylePropertyList::parse(text.utf8);
        result.root = std::move(read.root);
        result.error = std::move(read.error);
        result.position = fileOffset(text, read.position);
    }
    result.form = std::move(form);
    return result;
}

PropertyListResult PropertyListReader::readFile(const std::string& path) {
    auto file = RegularFile::read(path, maximumFileSize);
    if (!file.bytes)
        return failure(std::move(file.error), file.position);
    return parse(*file.bytes);
}

}
