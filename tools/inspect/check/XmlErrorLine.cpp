#include "inspect/check/XmlErrorLine.h"

#include "platform/foundation/ReadLimits.h"
#include "platform/foundation/RegularFile.h"

#include <pugixml.hpp>

#include <algorithm>

namespace docshelf::inspect {

std::optional<foundation::Problem> XmlErrorLine::find(const std::string& path) {
    // Within the reader's own limits: what it refused as too large or as no
    // regular file has no line to point at.
    auto file = foundation::RegularFile::read(path, foundation::ReadLimits::maximumFileSize);
    if (!file.bytes)
        return std::nullopt;
    std::string text(file.bytes->begin(), file.bytes->end());
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
    auto lineStart = text.rfind('\n', offset == 0 ? 0 : offset - 1);
    std::size_t column = lineStart == std::string::npos || offset == 0 ? offset + 1 : offset - lineStart;
    foundation::Position at;
    at.file = path;
    at.line = line;
    at.column = column;
    at.offset = offset;
    return foundation::Problem{result.description(), std::move(at)};
}

}
