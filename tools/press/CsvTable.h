#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace docshelf::press {

// A table as spreadsheets export it: a header row, then one record a line.
// Fields may be quoted ("a, b", "say ""hi"""), quoted fields may span lines,
// lines end in LF or CR LF, blank lines are skipped, and every field loses the
// blanks around it. The separator is the comma, else the semicolon when the
// header has one (where the comma is the decimal mark), else the tab ("Unicode
// text"). The text is UTF-8, with or without a byte order mark, or UTF-16 with
// one; other encodings are refused. An empty last column and empty cells past
// the header's columns, which spreadsheets add, are dropped.
class CsvTable {
public:
    struct Row {
        std::size_t line = 0; // where the record begins, counted from 1
        std::vector<std::string> fields;
    };

    // Nullopt with the reason (and line) when a quote is never closed or the
    // bytes are not text in an encoding that the table may have.
    static std::optional<CsvTable> parse(std::string_view bytes, std::string& error);
    static std::optional<CsvTable> readFile(const std::string& path, std::string& error);

    const std::vector<std::string>& header() const { return header_; }
    const std::vector<Row>& rows() const { return rows_; }
    // The column whose header equals the name without regard to letter case.
    std::optional<std::size_t> column(std::string_view name) const;

private:
    std::vector<std::string> header_;
    std::vector<Row> rows_;
};

}
