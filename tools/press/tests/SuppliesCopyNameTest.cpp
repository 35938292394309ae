#include "SuppliesCopyName.h"

#include "CaseName.h"

#include <gtest/gtest.h>

namespace docshelf::press {
namespace {

using Outcome = SuppliesCopyName::Outcome;

struct NameCase {
    const char* name;
    std::string model;
    Outcome outcome;
};

void PrintTo(const NameCase& c, std::ostream* out) {
    *out << c.name;
}

class SuppliesCopyNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(SuppliesCopyNameTest, NamesACopyOnlyWhereTheLauncherReadsItsModelBack) {
    const auto& c = GetParam();
    auto copy = SuppliesCopyName::forModel(c.model);
    EXPECT_EQ(copy.outcome(), c.outcome) << c.name << ": " << copy.reason();
    if (c.outcome == Outcome::Named)
        EXPECT_EQ(copy.fileName(), "vps_" + c.model + ".exe") << c.name;
    else
        EXPECT_TRUE(copy.fileName().empty() && !copy.reason().empty()) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Models, SuppliesCopyNameTest,
                         ::testing::Values(NameCase{"plain", "QX-500", Outcome::Named},
                                           NameCase{"blank inside", "QX-750 Duo", Outcome::Named},
                                           NameCase{"Latin letter of the code page", "Caf\xC3\xA9 9", Outcome::Named},
                                           NameCase{"euro sign of the code page", "QX \xE2\x82\xAC", Outcome::Named},
                                           NameCase{"dot", "QX.500", Outcome::Dot},
                                           NameCase{"slash", "QX/500", Outcome::ReservedCharacter},
                                           NameCase{"question mark", "QX?", Outcome::ReservedCharacter},
                                           NameCase{"tab", "QX\t500", Outcome::ReservedCharacter},
                                           NameCase{"Japanese", "\xE6\x97\xA5\xE6\x9C\xAC", Outcome::OutsideCodePage},
                                           NameCase{"not UTF-8", "QX\xFF", Outcome::OutsideCodePage},
                                           // An overlong "A" is not UTF-8, not the letter A.
                                           NameCase{"overlong form", "QX\xC1\x81", Outcome::OutsideCodePage},
                                           NameCase{"surrogate", "QX\xED\xA0\x80", Outcome::OutsideCodePage},
                                           NameCase{"longest for the disc", std::string(95, 'M'), Outcome::Named},
                                           NameCase{"one past the disc", std::string(96, 'M'), Outcome::TooLongForDisc},
                                           NameCase{"past the launcher", std::string(128, 'M'), Outcome::TooLong},
                                           NameCase{"empty", "", Outcome::Empty}),
                         [](const auto& test) { return testing::caseName(test.param.name); });

}
}
