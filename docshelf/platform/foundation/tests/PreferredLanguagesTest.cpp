#include "platform/foundation/PreferredLanguages.h"

#include "CaseName.h"
#include "ScopedLanguage.h"

#include <gtest/gtest.h>

#include <map>

namespace docshelf::foundation {
namespace {

struct LanguagesCase {
    const char* name;
    std::map<std::string, std::string> environment;
    std::vector<std::string> expected;
};

void PrintTo(const LanguagesCase& c, std::ostream* out) {
    *out << c.name;
}

class PreferredLanguagesFromEnvironment : public ::testing::TestWithParam<LanguagesCase> {};

TEST_P(PreferredLanguagesFromEnvironment, FollowsGettext) {
    const auto& environment = GetParam().environment;
    auto getenv = [&](const char* name) -> const char* {
        auto found = environment.find(name);
        return found == environment.end() ? nullptr : found->second.c_str();
    };
    EXPECT_EQ(PreferredLanguages::fromEnvironment(getenv), GetParam().expected) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PreferredLanguagesFromEnvironment,
    ::testing::Values(
        LanguagesCase{"nothing set", {}, {}},
        LanguagesCase{"LANG with codeset and modifier", {{"LANG", "de_DE.UTF-8@euro"}}, {"de-DE", "de"}},
        LanguagesCase{"territory", {{"LANG", "pt_BR"}}, {"pt-BR", "pt"}},
        LanguagesCase{"language alone", {{"LANG", "ja"}}, {"ja"}},
        LanguagesCase{"modifier without territory", {{"LANG", "sr@latin"}}, {"sr"}},
        LanguagesCase{"C is no language", {{"LANG", "C"}}, {}},
        LanguagesCase{"C.UTF-8 is no language", {{"LANG", "C.UTF-8"}}, {}},
        LanguagesCase{"POSIX is no language", {{"LC_ALL", "POSIX"}, {"LANG", "fr_FR"}}, {}},
        LanguagesCase{"LC_ALL before LC_MESSAGES before LANG",
                      {{"LC_ALL", "fr_CA.UTF-8"}, {"LC_MESSAGES", "de_DE"}, {"LANG", "ja_JP"}},
                      {"fr-CA", "fr"}},
        LanguagesCase{"LC_MESSAGES before LANG", {{"LC_MESSAGES", "de_DE"}, {"LANG", "ja_JP"}}, {"de-DE", "de"}},
        LanguagesCase{
            "empty variables are unset", {{"LC_ALL", ""}, {"LC_MESSAGES", ""}, {"LANG", "it_IT"}}, {"it-IT", "it"}},
        LanguagesCase{"LANGUAGE list wins",
                      {{"LANGUAGE", "de_AT:fr:en_GB"}, {"LANG", "ja_JP.UTF-8"}},
                      {"de-AT", "de", "fr", "en-GB", "en"}},
        LanguagesCase{
            "LANGUAGE repeats dropped, empty items skipped", {{"LANGUAGE", "de_AT::de:C:de_AT"}}, {"de-AT", "de"}},
        LanguagesCase{"empty LANGUAGE is unset", {{"LANGUAGE", ""}, {"LANG", "nl_NL"}}, {"nl-NL", "nl"}},
        LanguagesCase{"script codes kept", {{"LANGUAGE", "zh-Hans:zh_TW"}}, {"zh-Hans", "zh", "zh-TW"}}),
    [](const auto& testCase) { return testing::caseName(testCase.param.name); });

TEST(PreferredLanguagesFromProcess, ReadsTheRealEnvironmentEveryTime) {
    {
        testing::ScopedLanguage language({{"LANGUAGE", "sv_SE:nb"}, {"LANG", "de_DE.UTF-8"}});
        EXPECT_EQ(PreferredLanguages::fromEnvironment(), (std::vector<std::string>{"sv-SE", "sv", "nb"}));
    }
    testing::ScopedLanguage language("fi_FI.UTF-8");
    EXPECT_EQ(PreferredLanguages::fromEnvironment(), (std::vector<std::string>{"fi-FI", "fi"}));
}

}
}
