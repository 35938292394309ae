#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace docshelf::press {

// A table as spreadsheets export it: a header row, then one record a line.
// Fields may be quoted ("a, b", "say ""hi"""), quoted fields may span lines,
// lines end in LF or CR LF, a UTF-8 byte order mark is dropped, blank lines are
// skipped, and every field loses the blanks around it. The separator is the
// comma, or the semicolon when the header has semicolons and no comma (what
// spreadsheets write where the comma is the decimal mark).
class CsvTable {
public:
    struct Row {
        std::size_t line = 0; // where the record begins, counted from 1
        std::vector<std::string> fields;
    };

    // Nullopt with the reason and line when a quote is never closed.
    static std::optional<CsvTable> parse(std::string_view text, std::string& error);
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
