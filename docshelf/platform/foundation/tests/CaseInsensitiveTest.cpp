#include "platform/foundation/CaseInsensitive.h"

#include <gtest/gtest.h>

namespace docshelf::foundation {
namespace {

struct CompareCase {
    const char* a;
    const char* b;
    int expected; // sign only
};

class CaseInsensitiveCompare : public ::testing::TestWithParam<CompareCase> {};

int sign(int x) {
    return (x > 0) - (x < 0);
}

TEST_P(CaseInsensitiveCompare, OrdersAsExpected) {
    const auto& c = GetParam();
    EXPECT_EQ(sign(caseInsensitiveCompare(c.a, c.b)), c.expected) << "'" << c.a << "' vs '" << c.b << "'";
    EXPECT_EQ(sign(caseInsensitiveCompare(c.b, c.a)), -c.expected) << "reversed: '" << c.b << "' vs '" << c.a << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CaseInsensitiveCompare,
    ::testing::Values(CompareCase{"abc", "ABC", 0}, CompareCase{"abc", "ABD", -1},
                      CompareCase{"model-10", "model-9", -1}, CompareCase{"Model-10", "model-9", -1},
                      CompareCase{"", "", 0}, CompareCase{"a", "", 1}, CompareCase{"ab", "abc", -1},
                      CompareCase{"_x", "ax", -1}, // '_' (0x5F) sorts before 'a', after 'A' were case kept
                      CompareCase{"\xC3\x84pfel", "\xC3\xA4PFEL", 0}, // Äpfel / äPFEL
                      CompareCase{"\xCE\xA3\xCE\x99\xCE\x93\xCE\x9C\xCE\x91",
                                  "\xCF\x83\xCE\xB9\xCE\xB3\xCE\xBC\xCE\xB1", 0}, // ΣΙΓΜΑ
                      CompareCase{"\xCF\x82", "\xCE\xA3", 0},                     // final sigma folds to sigma
                      CompareCase{"\xD0\x9C\xD0\x9E\xD0\x94", "\xD0\xBC\xD0\xBE\xD0\xB4", 0}, // МОД / мод
                      CompareCase{"\xD0\x81", "\xD1\x91", 0},                                 // Ё / ё
                      CompareCase{"\xC5\x81\xC3\xB3"
                                  "d\xC5\xBA",
                                  "\xC5\x82\xC3\x93"
                                  "D\xC5\xB9",
                                  0},                           // Łódź
                      CompareCase{"z", "\xC3\xA4", -1},         // no locale: ä after z
                      CompareCase{"\xFF", "a", 1},              // invalid byte sorts last
                      CompareCase{"\xE2\x82", "\xE2\x82", 0},   // truncated sequence
                      CompareCase{"\xC0\x80", "\xC0\x80", 0})); // overlong form

TEST(FoldCase, LeavesUncasedAlone) {
    EXPECT_EQ(foldCase(U'7'), U'7');
    EXPECT_EQ(foldCase(U'\u00D7'), U'\u00D7'); // multiplication sign
    EXPECT_EQ(foldCase(U'\u3042'), U'\u3042'); // hiragana
    EXPECT_EQ(foldCase(U'\u212A'), U'k');      // Kelvin sign
    EXPECT_EQ(foldCase(U'\u0178'), U'\u00FF'); // Ÿ
}

}
}
