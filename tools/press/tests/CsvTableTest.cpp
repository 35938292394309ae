#include "CsvTable.h"

#include "CaseName.h"

#include <gtest/gtest.h>

namespace docshelf::press {
namespace {

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
                      CsvCase{"last line without its end", "Model\nRT-20", {"Model"}, {{"RT-20"}}, {2}}),
    [](const auto& testCase) { return testing::caseName(testCase.param.name); });

TEST(CsvTableTest, NamesTheLineOfAQuoteNeverClosed) {
    std::string error;
    EXPECT_FALSE(CsvTable::parse("Model\n\"QX-500\nRT-20\n", error));
    EXPECT_EQ(error, "line 2: a quote is opened and never closed");
}

}
}
