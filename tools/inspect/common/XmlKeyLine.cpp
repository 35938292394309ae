#include "inspect/common/XmlKeyLine.h"

#include "platform/foundation/ReadLimits.h"
#include "platform/foundation/RegularFile.h"

#include <pugixml.hpp>

#include <algorithm>

namespace docshelf::inspect {

namespace {

pugi::xml_node nextElement(pugi::xml_node node) {
    for (node = node.next_sibling(); node && node.type() != pugi::node_element; node = node.next_sibling()) {
    }
    return node;
}

}

std::size_t XmlKeyLine::find(const std::string& path, const std::vector<std::string>& keys) {
    if (keys.empty())
        return 0;
    // Through the bounded reader: a pipe or an endless file at the path gives no line.
    auto file = foundation::RegularFile::read(path, foundation::ReadLimits::maximumFileSize);
    if (!file.bytes)
        return 0;
    std::string text(file.bytes->begin(), file.bytes->end());
    if (text.starts_with("bplist"))
        return 0;
    pugi::xml_document document;
    if (!document.load_buffer(text.data(), text.size(), pugi::parse_default | pugi::parse_doctype))
        return 0;
    auto lineAt = [&](pugi::xml_node node) {
        std::ptrdiff_t offset = std::clamp<std::ptrdiff_t>(node.offset_debug(), 0, std::ssize(text));
        return 1 + static_cast<std::size_t>(std::count(text.begin(), text.begin() + offset, '\n'));
    };

    pugi::xml_node value =
        document.child("plist").find_child([](pugi::xml_node n) { return n.type() == pugi::node_element; });
    std::size_t line = 0;
    for (const auto& key : keys) {
        pugi::xml_node found;
        if (std::string_view(value.name()) == "dict") {
            for (pugi::xml_node child : value.children("key"))
                if (child.child_value() == key)
                    found = child;
            if (!found)
                break;
            line = lineAt(found);
            value = nextElement(found);
        } else if (std::string_view(value.name()) == "array" && !key.empty() &&
                   key.find_first_not_of("0123456789") == std::string::npos && key.size() < 9) {
            std::size_t index = std::stoul(key);
            pugi::xml_node item = value.find_child([](pugi::xml_node n) { return n.type() == pugi::node_element; });
            for (std::size_t i = 0; item && i < index; ++i)
                item = nextElement(item);
            if (!item)
                break;
            line = lineAt(item);
            value = item;
        } else {
            break;
        }
    }
    return line;
}

}
