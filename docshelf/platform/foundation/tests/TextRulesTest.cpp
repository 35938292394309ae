#include "platform/foundation/NearMiss.h"
#include "platform/foundation/Utf8.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace docshelf::foundation {
namespace {

struct DecodeCase {
    const char* name;
    std::string bytes;
    std::optional<char32_t> character; // nullopt: refused, and the position stays
};

class Utf8Decoding : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(Utf8Decoding, TakesWellFormedCharactersOnly) {
    const DecodeCase& c = GetParam();
    std::size_t at = 0;
    EXPECT_EQ(decodeUtf8(c.bytes, at), c.character) << c.name;
    EXPECT_EQ(at, c.character ? c.bytes.size() : 0u) << c.name;
    EXPECT_EQ(isValidUtf8(c.bytes), c.character.has_value()) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Bytes, Utf8Decoding,
                         ::testing::Values(DecodeCase{"ascii", "A", U'A'},
                                           DecodeCase{"two_bytes", "\xC3\xA9", U'\u00E9'},
                                           DecodeCase{"three_bytes", "\xE6\x97\xA5", U'\u65E5'},
                                           DecodeCase{"four_bytes", "\xF0\x9F\x98\x80", U'\U0001F600'},
                                           DecodeCase{"overlong_slash", "\xC0\xAF", std::nullopt},
                                           DecodeCase{"overlong_three", "\xE0\x80\xAF", std::nullopt},
                                           DecodeCase{"overlong_four", "\xF0\x80\x80\xAF", std::nullopt},
                                           DecodeCase{"surrogate", "\xED\xA0\x80", std::nullopt},
                                           DecodeCase{"past_the_last_plane", "\xF4\x90\x80\x80", std::nullopt},
                                           DecodeCase{"cut_short", "\xE6\x97", std::nullopt},
                                           DecodeCase{"stray_continuation", "\x80", std::nullopt},
                                           DecodeCase{"lead_without_continuation", "\xC3(", std::nullopt}),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

struct SlipCase {
    const char* written;
    const char* meant;
    bool slip;
};

class NearMisses : public ::testing::TestWithParam<SlipCase> {};

TEST_P(NearMisses, OfferOnlyNamesAFewLettersOff) {
    const SlipCase& c = GetParam();
    EXPECT_EQ(NearMiss::isSlipFor(c.written, c.meant), c.slip) << c.written << " for " << c.meant;
    EXPECT_EQ(NearMiss::isSlipFor(c.meant, c.written), c.slip) << c.meant << " for " << c.written << ", reversed";
}

INSTANTIATE_TEST_SUITE_P(
    Names, NearMisses,
    ::testing::Values(SlipCase{"Germna", "German", true},                                      // two of six letters
                      SlipCase{"Deutsh", "Deutsch", true},                                     // one left out
                      SlipCase{"QX-50", "QX-500", true}, SlipCase{"Top.PDF", "top.pdf", true}, // letter case only
                      SlipCase{"readme.rtf", "MacOS_X_readme.rtf", false}, SlipCase{"index.html", "top.html", false},
                      SlipCase{"ab", "cd", false}, // two of two letters
                      SlipCase{"QX-500", "RT-20", false}, SlipCase{"MacOS_X_readme.rft", "MacOS_X_readme.rtf", true},
                      SlipCase{"MacOS_X_rdme.rtfxx", "MacOS_X_readme.rtf", false}), // four off: three at most
    [](const auto& testCase) { return "case" + std::to_string(testCase.index); });

}
}
