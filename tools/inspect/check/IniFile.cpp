#include "inspect/check/IniFile.h"

#include "platform/foundation/ReadLimits.h"
#include "platform/foundation/RegularFile.h"
#include "platform/foundation/Utf8.h"

namespace docshelf::inspect {

namespace {

std::string_view trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\r'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x != y && !(x < 128 && y < 128 && (x | 0x20) == (y | 0x20) && (x | 0x20) >= 'a' && (x | 0x20) <= 'z'))
            return false;
    }
    return true;
}

// Windows (2000 and later, and Wine) reads an INI file that opens with the
// UTF-16LE byte-order mark as Unicode, as Notepad saves "Unicode" files; the
// launcher's ANSI calls then get the same text. Read as UTF-8 here; an unpaired
// surrogate becomes U+FFFD.
std::string fromUtf16LittleEndian(std::string_view bytes) {
    std::string out;
    auto unit = [&](std::size_t i) {
        return static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1])
                                                                                << 8);
    };
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
        char32_t c = unit(i);
        if (c >= 0xD800 && c < 0xDC00 && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 && unit(i + 2) < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD;
        }
        foundation::appendUtf8(out, c);
    }
    return out;
}

}

foundation::Result<IniFile> IniFile::readFile(const std::string& path) {
    // The launcher reads inst.ini with the system's profile calls, which stop
    // long before this; a pipe, a device or a folder reads as no inst.ini.
    auto file = foundation::RegularFile::read(path, foundation::ReadLimits::maximumFileSize);
    if (!file.bytes) {
        foundation::Position at;
        at.file = path;
        return foundation::Problem{file.error, std::move(at)};
    }
    std::string text(reinterpret_cast<const char*>(file.bytes->data()), file.bytes->size());
    if (text.starts_with("\xFF\xFE"))
        return parse(fromUtf16LittleEndian(text));
    return parse(text);
}

IniFile IniFile::parse(std::string_view text) {
    IniFile ini;
    Section* current = nullptr;
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        auto end = text.find('\n');
        std::string_view line = trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            auto close = line.find(']');
            std::string name(trim(line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1)));
            ini.sections_.push_back({name, lineNumber, {}});
            current = &ini.sections_.back();
            continue;
        }
        auto equals = line.find('=');
        if (!current || equals == std::string_view::npos)
            continue;
        std::string_view value = trim(line.substr(equals + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        current->entries.push_back({std::string(trim(line.substr(0, equals))), {std::string(value), lineNumber}});
    }
    return ini;
}

const IniFile::Section* IniFile::find(std::string_view section) const {
    for (const auto& s : sections_)
        if (equalIgnoringCase(s.name, section))
            return &s;
    return nullptr;
}

bool IniFile::hasSection(std::string_view section) const {
    return find(section) != nullptr;
}

std::size_t IniFile::sectionLine(std::string_view section) const {
    const Section* s = find(section);
    return s ? s->line : 0;
}

std::optional<IniFile::Value> IniFile::value(std::string_view section, std::string_view key) const {
    const Section* s = find(section);
    if (!s)
        return std::nullopt;
    for (const auto& entry : s->entries)
        if (equalIgnoringCase(entry.key, key))
            return entry.value;
    return std::nullopt;
}

}
