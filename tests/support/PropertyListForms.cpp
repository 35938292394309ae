#include "PropertyListForms.h"

#include "PropertyListWriter.h"
#include "TextEncoding.h"

#include <stdexcept>

namespace docshelf::testing {

namespace {

using foundation::Value;

bool isBare(const std::string& text) {
    if (text.empty())
        return false;
    for (char c : text)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '.' ||
              c == '-' || c == '/' || c == ':'))
            return false;
    return true;
}

// Bare where it can be, else quoted with the escapes the form knows.
std::string quoted(const std::string& text) {
    if (isBare(text))
        return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        if (c == '\n')
            out += "\\n";
        else if (c == '\t')
            out += "\\t";
        else
            out += c;
    }
    return out + "\"";
}

void oldStyle(const Value& value, const std::string& indent, std::string& out) {
    switch (value.kind()) {
    case Value::Kind::Dictionary:
        out += "{\n";
        for (const auto& [key, member] : value.entries()) {
            out += indent + "    " + quoted(key) + " = ";
            oldStyle(member, indent + "    ", out);
            out += ";\n";
        }
        out += indent + "}";
        return;
    case Value::Kind::Array: {
        out += "(";
        const char* separator = "";
        for (const Value& element : value.elements()) {
            out += separator;
            oldStyle(element, indent, out);
            separator = ", ";
        }
        out += ")";
        return;
    }
    case Value::Kind::Data: {
        static const char hex[] = "0123456789abcdef";
        out += "<";
        std::size_t written = 0;
        for (std::uint8_t byte : value.bytes()) {
            if (written++ % 4 == 0 && written > 1)
                out += ' ';
            out += hex[byte >> 4];
            out += hex[byte & 0x0F];
        }
        out += ">";
        return;
    }
    case Value::Kind::Absent:
        throw std::invalid_argument("an absent value cannot be written");
    default:
        out += quoted(value.isString() ? std::string(value.text()) : value.description());
    }
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    if (auto at = text.find(from); at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

}

std::vector<ListForm> allListForms() {
    return {ListForm::Xml,           ListForm::XmlUtf8Mark,      ListForm::XmlUtf16Little,
            ListForm::XmlUtf16Big,   ListForm::XmlUtf16Declared, ListForm::OldStyle,
            ListForm::OldStyleUtf16, ListForm::OldStylePairs};
}

const char* listFormName(ListForm form) {
    switch (form) {
    case ListForm::Xml:
        return "xml";
    case ListForm::XmlUtf8Mark:
        return "xml_utf8_mark";
    case ListForm::XmlUtf16Little:
        return "xml_utf16le";
    case ListForm::XmlUtf16Big:
        return "xml_utf16be";
    case ListForm::XmlUtf16Declared:
        return "xml_utf16_declared";
    case ListForm::OldStyle:
        return "old_style";
    case ListForm::OldStyleUtf16:
        return "old_style_utf16";
    case ListForm::OldStylePairs:
        return "old_style_pairs";
    }
    return "unknown";
}

std::string writeInForm(const Value& root, ListForm form) {
    std::string xml = PropertyListWriter::serialize(root, PlistFormat::Xml);
    std::string utf16Xml = replaced(xml, "encoding=\"UTF-8\"", "encoding=\"UTF-16\"");
    std::string text = "// written by hand\n/* an old-style list */ ";
    oldStyle(root, "", text);
    text += "\n";
    switch (form) {
    case ListForm::Xml:
        return xml;
    case ListForm::XmlUtf8Mark:
        return "\xEF\xBB\xBF" + xml;
    case ListForm::XmlUtf16Little:
        return utf16(utf16Xml, false, true);
    case ListForm::XmlUtf16Big:
        return utf16(utf16Xml, true, true);
    case ListForm::XmlUtf16Declared:
        return utf16(utf16Xml, false, false);
    case ListForm::OldStyle:
        return text;
    case ListForm::OldStyleUtf16:
        return utf16(text, true, true);
    case ListForm::OldStylePairs: {
        if (!root.isDictionary())
            throw std::invalid_argument("only a dictionary is written as pairs");
        std::string pairs = "/* pairs */\n";
        for (const auto& [key, member] : root.entries()) {
            pairs += quoted(key) + " = ";
            oldStyle(member, "", pairs);
            pairs += ";\n";
        }
        return pairs;
    }
    }
    return xml;
}

}
