#include "CaseName.h"

#include "platform/fltk/LineBreaker.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace docshelf::fltk {
namespace {

// Every character one unit wide, so that widths count characters.
float characters(std::string_view text) {
    float count = 0;
    for (char c : text)
        count += (static_cast<unsigned char>(c) & 0xc0) != 0x80 ? 1 : 0;
    return count;
}

struct WrapCase {
    const char* description;
    std::string text;
    float width;
    std::vector<std::string> lines;
};

void PrintTo(const WrapCase& c, std::ostream* out) {
    *out << c.description;
}

class LineBreakerTest : public ::testing::TestWithParam<WrapCase> {};

TEST_P(LineBreakerTest, BreaksWhereTheRulesAllowAndFillsEachLine) {
    const auto& c = GetParam();
    auto lines = LineBreaker::wrap(c.text, c.width, characters);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.end()), c.lines) << c.description;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LineBreakerTest,
    ::testing::Values(
        WrapCase{"English breaks at spaces, which end no line", "The quick brown fox", 10, {"The quick", "brown fox"}},
        WrapCase{"Japanese without spaces breaks between characters",
                 "言語を選んでください",
                 4,
                 {"言語を選", "んでくだ", "さい"}},
        WrapCase{"a full stop never starts a line and takes the character before it along",
                 "言語を選んで。開きます",
                 6,
                 {"言語を選ん", "で。開きます"}},
        WrapCase{"mixed text keeps the Latin word whole", "Docshelf を終了します", 10, {"Docshelf を", "終了します"}},
        WrapCase{"a line break in the text always ends a line", "Close\nQuit", 20, {"Close", "Quit"}},
        WrapCase{"a word wider than the line breaks between characters", "abcdefghij", 4, {"abcd", "efgh", "ij"}}),
    [](const auto& testCase) { return testing::caseName(testCase.param.description); });

}
}
