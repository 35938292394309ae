#include "CsvTable.h"

#include "platform/foundation/ReadLimits.h"
#include "cli/InputFile.h"

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
    return header.find(',') == std::string_view::npos && header.find(';') != std::string_view::npos ? ';' : ',';
}

}

std::optional<CsvTable> CsvTable::parse(std::string_view text, std::string& error) {
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
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
