#include "inspect/check/XmlErrorLine.h"

#include <pugixml.hpp>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace docshelf::inspect {

std::optional<XmlError> XmlErrorLine::find(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (text.starts_with("bplist"))
        return std::nullopt;
    pugi::xml_document document;
    pugi::xml_parse_result result =
        document.load_buffer(text.data(), text.size(), pugi::parse_default | pugi::parse_doctype);
    if (result)
        return std::nullopt;
    auto offset = static_cast<std::size_t>(
        std::clamp<std::ptrdiff_t>(result.offset, 0, static_cast<std::ptrdiff_t>(text.size())));
    std::size_t line = 1 + static_cast<std::size_t>(
                               std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
    return XmlError{line, result.description()};
}

}
