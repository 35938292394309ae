#include "CsvTable.h"

#include "platform/foundation/ReadLimits.h"
#include "platform/foundation/RegularFile.h"
#include "platform/foundation/Utf8.h"
#include "cli/InputFile.h"

#include <algorithm>

namespace docshelf::press {

namespace {

std::string trimmed(const std::string& text) {
    auto begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos)
        return "";
    return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

char lowered(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

char separatorOf(std::string_view text) {
    std::string_view header = text.substr(0, text.find('\n'));
    if (header.find(',') != std::string_view::npos)
        return ',';
    if (header.find(';') != std::string_view::npos)
        return ';';
    return header.find('\t') != std::string_view::npos ? '\t' : ',';
}

constexpr const char* howToSave = "save it as \"CSV UTF-8\" or as \"Unicode text\" (UTF-16)";

std::size_t lineAt(std::string_view text, std::size_t offset) {
    std::size_t line = 1;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i)
        line += text[i] == '\n' ? 1u : 0u;
    return line;
}

std::string hexByte(unsigned char c) {
    static constexpr char hex[] = "0123456789ABCDEF";
    return std::string("0x") + hex[c >> 4] + hex[c & 15];
}

// UTF-16 with its byte order mark dropped, as UTF-8.
std::optional<std::string> fromUtf16(std::string_view bytes, bool bigEndian, std::string& error) {
    if (bytes.size() % 2 != 0) {
        error = "the table is UTF-16 text with an odd number of bytes, cut short; " + std::string(howToSave) + " again";
        return std::nullopt;
    }
    std::string out;
    out.reserve(bytes.size());
    std::size_t line = 1;
    auto unit = [&](std::size_t i) {
        auto first = static_cast<unsigned char>(bytes[i]);
        auto second = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<char32_t>(bigEndian ? first << 8 | second : second << 8 | first);
    };
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        char32_t c = unit(i);
        if (c >= 0xD800 && c <= 0xDBFF && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 && unit(i + 2) <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            error = "line " + std::to_string(line) +
                    ": the UTF-16 text holds half of a surrogate pair without the other half; " + howToSave + " again";
            return std::nullopt;
        }
        line += c == '\n' ? 1u : 0u;
        foundation::appendUtf8(out, c);
    }
    return out;
}

// The table's text as UTF-8: UTF-8 with or without its byte order mark, or
// UTF-16 of either byte order with one, as spreadsheets save them. Any other
// encoding is refused with what was found, never by showing its bytes.
std::optional<std::string> decoded(std::string_view bytes, std::string& error) {
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    else if (bytes.starts_with(std::string_view("\xFF\xFE\0\0", 4)) ||
             bytes.starts_with(std::string_view("\0\0\xFE\xFF", 4))) {
        error = "the table is UTF-32 text; " + std::string(howToSave);
        return std::nullopt;
    } else if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
        return fromUtf16(bytes.substr(2), bytes[0] == '\xFE', error);
    }
    // UTF-16 without its mark: every other byte of the first line is zero.
    std::string_view start = bytes.substr(0, 64);
    if (start.size() >= 8 &&
        static_cast<std::size_t>(std::count(start.begin(), start.end(), '\0')) * 3 >= start.size()) {
        error = "the table looks like UTF-16 text without a byte order mark; " + std::string(howToSave);
        return std::nullopt;
    }
    if (std::size_t valid = foundation::validUtf8Prefix(bytes); valid != bytes.size()) {
        error = "line " + std::to_string(lineAt(bytes, valid)) + ": byte " +
                hexByte(static_cast<unsigned char>(bytes[valid])) +
                " is not UTF-8: the table seems saved in an 8-bit code page such as Windows-1252; " + howToSave;
        return std::nullopt;
    }
    return std::string(bytes);
}

}

std::optional<CsvTable> CsvTable::parse(std::string_view bytes, std::string& error) {
    auto utf8 = decoded(bytes, error);
    if (!utf8)
        return std::nullopt;
    std::string_view text(*utf8);
    const char separator = separatorOf(text);
    std::vector<Row> records;
    Row record;
    std::string field;
    bool quoted = false;
    bool wasQuoted = false;
    std::size_t line = 1;
    std::size_t quoteLine = 0;
    record.line = 1;
    auto endField = [&] {
        record.fields.push_back(wasQuoted ? field : trimmed(field));
        field.clear();
        wasQuoted = false;
    };
    auto endRecord = [&] {
        endField();
        bool blank = record.fields.size() == 1 && record.fields[0].empty();
        if (!blank)
            records.push_back(std::move(record));
        record = Row{line, {}};
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                if (c == '\n')
                    ++line;
                field += c;
            }
            continue;
        }
        if (c == '"' && trimmed(field).empty()) {
            field.clear();
            quoted = true;
            wasQuoted = true;
            quoteLine = line;
        } else if (c == separator) {
            endField();
        } else if (c == '\n') {
            ++line;
            endRecord();
        } else if (c != '\r') {
            field += c;
        }
    }
    if (quoted) {
        error = "line " + std::to_string(quoteLine) + ": a quote is opened and never closed";
        return std::nullopt;
    }
    endRecord();
    CsvTable table;
    if (records.empty())
        return table;
    table.header_ = std::move(records.front().fields);
    table.rows_.assign(std::make_move_iterator(records.begin() + 1), std::make_move_iterator(records.end()));
    // Spreadsheets add an empty column at the end, and empty cells after the last one used.
    while (!table.header_.empty() && table.header_.back().empty())
        table.header_.pop_back();
    for (auto& row : table.rows_)
        while (row.fields.size() > table.header_.size() && row.fields.back().empty())
            row.fields.pop_back();
    return table;
}

std::optional<CsvTable> CsvTable::readFile(const std::string& path, std::string& error) {
    // A pipe, a device or a folder is refused at once rather than waited on.
    auto file = cli::InputFile::read(path, foundation::ReadLimits::maximumFileSize);
    if (!file.bytes) {
        error = "cannot be read: " + file.error;
        return std::nullopt;
    }
    return parse(std::string(file.bytes->begin(), file.bytes->end()), error);
}

std::optional<std::size_t> CsvTable::column(std::string_view name) const {
    for (std::size_t i = 0; i < header_.size(); ++i) {
        const std::string& title = header_[i];
        if (title.size() != name.size())
            continue;
        bool same = true;
        for (std::size_t k = 0; k < name.size() && same; ++k)
            same = lowered(title[k]) == lowered(name[k]);
        if (same)
            return i;
    }
    return std::nullopt;
}

}
