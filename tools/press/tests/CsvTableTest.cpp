#include "CsvTable.h"

#include "CaseName.h"

#include <gtest/gtest.h>

namespace docshelf::press {
namespace {

using namespace std::string_literals;
using Fields = std::vector<std::string>;

struct CsvCase {
    const char* name;
    std::string text;
    Fields header;
    std::vector<Fields> rows;
    std::vector<std::size_t> lines;
};

void PrintTo(const CsvCase& c, std::ostream* out) {
    *out << c.name;
}

class CsvTableTest : public ::testing::TestWithParam<CsvCase> {};

TEST_P(CsvTableTest, ReadsWhatSpreadsheetsExport) {
    const auto& c = GetParam();
    std::string error;
    auto table = CsvTable::parse(c.text, error);
    ASSERT_TRUE(table) << c.name << ": " << error;
    EXPECT_EQ(table->header(), c.header) << c.name;
    ASSERT_EQ(table->rows().size(), c.rows.size()) << c.name;
    for (std::size_t i = 0; i < c.rows.size(); ++i) {
        EXPECT_EQ(table->rows()[i].fields, c.rows[i]) << c.name << ", row " << i;
        EXPECT_EQ(table->rows()[i].line, c.lines[i]) << c.name << ", row " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CsvTableTest,
    ::testing::Values(CsvCase{"plain", "Model,KPSID\nQX-500,QX500\n", {"Model", "KPSID"}, {{"QX-500", "QX500"}}, {2}},
                      CsvCase{"byte order mark and CR LF",
                              "\xEF\xBB\xBFModel,KPSID\r\nQX-500,QX500\r\n",
                              {"Model", "KPSID"},
                              {{"QX-500", "QX500"}},
                              {2}},
                      CsvCase{"blanks around fields dropped, blank lines skipped",
                              "Model , KPSID\n\n QX-750 Duo ,QX750D\n",
                              {"Model", "KPSID"},
                              {{"QX-750 Duo", "QX750D"}},
                              {3}},
                      CsvCase{"quoted separator, quote and line break",
                              "Model,Languages\n\"A, \"\"B\"\"\",\"English;\nGerman\"\nC,\n",
                              {"Model", "Languages"},
                              {{"A, \"B\"", "English;\nGerman"}, {"C", ""}},
                              {2, 4}},
                      CsvCase{"semicolons where the comma is the decimal mark",
                              "Model;KPSID\nQX-500;QX500\n",
                              {"Model", "KPSID"},
                              {{"QX-500", "QX500"}},
                              {2}},
                      CsvCase{"last line without its end", "Model\nRT-20", {"Model"}, {{"RT-20"}}, {2}},
                      CsvCase{"UTF-16 little-endian as Unicode text: tabs, CR LF",
                              "\xFF\xFEM\0\t\0K\0\r\0\n\0Q\0\t\0\xE9\0\r\0\n\0"s,
                              {"M", "K"},
                              {{"Q", "\xC3\xA9"}},
                              {2}},
                      CsvCase{"UTF-16 big-endian with a pair of surrogates",
                              "\xFE\xFF\0M\0\n\xD8\x3D\xDE\x00\0\n"s,
                              {"M"},
                              {{"\xF0\x9F\x98\x80"}},
                              {2}},
                      CsvCase{"empty last column and empty cells past the header",
                              "Model,KPSID,\nQX-500,QX500,,,\nRT-20\n",
                              {"Model", "KPSID"},
                              {{"QX-500", "QX500"}, {"RT-20"}},
                              {2, 3}}),
    [](const auto& test) { return testing::caseName(test.param.name); });

TEST(CsvTableTest, NamesTheLineOfAQuoteNeverClosed) {
    std::string error;
    EXPECT_FALSE(CsvTable::parse("Model\n\"QX-500\nRT-20\n", error));
    EXPECT_EQ(error, "line 2: a quote is opened and never closed");
}
// Text that is not UTF-8 or UTF-16 with its mark: refused with what was found and
// how to save the table, never with the table's own bytes.
struct Refusal {
    const char* name;
    std::string bytes;
    std::string says;
};

void PrintTo(const Refusal& c, std::ostream* out) {
    *out << c.name;
}

class CsvRefusalTest : public ::testing::TestWithParam<Refusal> {};

TEST_P(CsvRefusalTest, SaysWhatWasFoundAndHowToSaveIt) {
    const auto& c = GetParam();
    std::string error;
    EXPECT_FALSE(CsvTable::parse(c.bytes, error)) << c.name;
    EXPECT_NE(error.find(c.says), std::string::npos) << c.name << ": " << error;
    EXPECT_NE(error.find("\"CSV UTF-8\" or as \"Unicode text\""), std::string::npos) << c.name << ": " << error;
    for (char byte : error)
        EXPECT_TRUE(byte >= 0x20 && byte < 0x7F) << c.name << ": a raw byte in " << error;
}

INSTANTIATE_TEST_SUITE_P(Encodings, CsvRefusalTest,
                         ::testing::Values(Refusal{"Windows-1252", "Model,KPSID\nQX-500,QX500\nS\xE9rie,S\n",
                                                   "line 3: byte 0xE9 is not UTF-8"},
                                           Refusal{"UTF-16 without its mark", "M\0o\0d\0e\0l\0,\0K\0\n\0"s,
                                                   "UTF-16 text without a byte order mark"},
                                           Refusal{"UTF-16 with half a surrogate pair", "\xFF\xFEM\0\n\0\x3D\xD8\n\0"s,
                                                   "line 2: the UTF-16 text holds half of a surrogate pair"},
                                           Refusal{"UTF-32", "\xFF\xFE\0\0M\0\0\0"s, "the table is UTF-32 text"}),
                         [](const auto& test) { return testing::caseName(test.param.name); });

}
}
