#include "disc/KeyPlaces.h"

#include "platform/foundation/ReadLimits.h"
#include "platform/foundation/RegularFile.h"

#include <pugixml.hpp>

#include <algorithm>
#include <atomic>

namespace docshelf::disc {

namespace {

// Keys are joined with a byte that no key of a disc's list holds in practice;
// were one to, it would only give a finding another key's line.
constexpr char separator = '\x1F';

bool isElement(pugi::xml_node node) {
    return node.type() == pugi::node_element;
}

std::atomic<std::size_t> indexedFiles{0};

class Indexer {
public:
    Indexer(const std::string& text, std::map<std::string, KeyPlaces::Place>& places) : text_(text), places_(places) {}

    // Walks a value: a dictionary's keys and an array's members, depth first.
    void walk(pugi::xml_node value, const std::string& prefix, std::size_t depth) {
        if (depth > maximumDepth)
            return;
        std::string_view name(value.name());
        if (name == "dict") {
            for (pugi::xml_node key = value.child("key"); key; key = key.next_sibling("key")) {
                std::string path = prefix + separator + key.child_value();
                places_[path] = placeOf(key);
                pugi::xml_node next = key.next_sibling();
                while (next && !isElement(next))
                    next = next.next_sibling();
                if (next && std::string_view(next.name()) != "key")
                    walk(next, path, depth + 1);
            }
        } else if (name == "array") {
            std::size_t index = 0;
            for (pugi::xml_node item = value.first_child(); item; item = item.next_sibling()) {
                if (!isElement(item))
                    continue;
                std::string path = prefix + separator + std::to_string(index++);
                places_[path] = placeOf(item);
                walk(item, path, depth + 1);
            }
        }
    }

private:
    static constexpr std::size_t maximumDepth = 512;

    // Lines are counted forward from the last node's place: the nodes come in document order.
    KeyPlaces::Place placeOf(pugi::xml_node node) {
        // The parser gives the place of the element's name; its "<" is one byte before.
        auto offset =
            static_cast<std::size_t>(std::clamp<std::ptrdiff_t>(node.offset_debug() - 1, 0, std::ssize(text_)));
        if (offset < counted_) {
            counted_ = 0;
            line_ = 1;
        }
        line_ += static_cast<std::size_t>(std::count(text_.begin() + static_cast<std::ptrdiff_t>(counted_),
                                                     text_.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
        counted_ = offset;
        return {line_, offset};
    }

    const std::string& text_;
    std::map<std::string, KeyPlaces::Place>& places_;
    std::size_t counted_ = 0;
    std::size_t line_ = 1;
};

}

std::size_t KeyPlaces::indexed() {
    return indexedFiles;
}

KeyPlaces KeyPlaces::index(const std::string& path) {
    ++indexedFiles;
    KeyPlaces index;
    // Through the bounded reader: a pipe or an endless file at the path gives no line.
    auto file = foundation::RegularFile::read(path, foundation::ReadLimits::maximumFileSize);
    if (!file.bytes)
        return index;
    std::string text(file.bytes->begin(), file.bytes->end());
    if (text.starts_with("bplist"))
        return index;
    pugi::xml_document document;
    if (!document.load_buffer(text.data(), text.size(), pugi::parse_default | pugi::parse_doctype))
        return index;
    pugi::xml_node root = document.child("plist").find_child(isElement);
    Indexer(text, index.places_).walk(root, "", 0);
    return index;
}

KeyPlaces::Place KeyPlaces::find(const std::vector<std::string>& keys) const {
    std::string path;
    Place place;
    for (const auto& key : keys) {
        path += separator + key;
        auto found = places_.find(path);
        if (found == places_.end())
            break;
        place = found->second;
    }
    return place;
}

}
