#include "platform/foundation/Localizations.h"

#include "CaseName.h"

#include <gtest/gtest.h>

namespace docshelf::foundation {
namespace {

struct CodeCase {
    const char* name;
    const char* expected;
};

void PrintTo(const CodeCase& c, std::ostream* out) {
    *out << c.name;
}

class LocalizationsCanonicalCode : public ::testing::TestWithParam<CodeCase> {};

TEST_P(LocalizationsCanonicalCode, MapsFolderNames) {
    EXPECT_EQ(Localizations::canonicalCode(GetParam().name), GetParam().expected) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Names, LocalizationsCanonicalCode,
    ::testing::Values(CodeCase{"English", "en"}, CodeCase{"Japanese", "ja"}, CodeCase{"French", "fr"},
                      CodeCase{"German", "de"}, CodeCase{"Spanish", "es"}, CodeCase{"Italian", "it"},
                      CodeCase{"Dutch", "nl"}, CodeCase{"Swedish", "sv"}, CodeCase{"Danish", "da"},
                      CodeCase{"Finnish", "fi"}, CodeCase{"Norwegian", "nb"}, CodeCase{"Portuguese", "pt"},
                      CodeCase{"Korean", "ko"}, CodeCase{"Russian", "ru"}, CodeCase{"Polish", "pl"},
                      CodeCase{"Czech", "cs"}, CodeCase{"Hungarian", "hu"}, CodeCase{"Turkish", "tr"},
                      CodeCase{"Greek", "el"}, CodeCase{"Chinese", "zh"}, CodeCase{"english", "en"},
                      CodeCase{"de", "de"}, CodeCase{"DE", "de"}, CodeCase{"pt-BR", "pt-br"},
                      CodeCase{"pt_BR", "pt-br"}, CodeCase{"zh-Hans", "zh-hans"}, CodeCase{"no", "nb"},
                      CodeCase{"no_NO", "nb-no"}, CodeCase{"Klingon", "klingon"}, CodeCase{"", ""}),
    [](const auto& testCase) {
        return "case" + std::to_string(testCase.index) + "_" + testing::caseName(testCase.param.name);
    });

struct ChoiceCase {
    const char* name;
    std::vector<std::string> available;
    std::vector<std::string> preferred;
    const char* developmentRegion;
    std::optional<std::string> expected;
};

void PrintTo(const ChoiceCase& c, std::ostream* out) {
    *out << c.name;
}

class LocalizationsChoice : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(LocalizationsChoice, PicksTheFolder) {
    const ChoiceCase& c = GetParam();
    EXPECT_EQ(Localizations::choose(c.available, c.preferred, c.developmentRegion), c.expected) << c.name;
}

const std::vector<std::string> disc{"English", "Japanese", "de", "fr"};

INSTANTIATE_TEST_SUITE_P(
    Cases, LocalizationsChoice,
    ::testing::Values(ChoiceCase{"code folder", disc, {"de"}, "English", "de"},
                      ChoiceCase{"legacy folder", disc, {"ja-JP", "ja"}, "English", "Japanese"},
                      ChoiceCase{"language part of a tag", disc, {"fr-CA"}, "English", "fr"},
                      ChoiceCase{"first preferred that fits", disc, {"ko", "it", "fr", "de"}, "English", "fr"},
                      ChoiceCase{"exact territory before language", {"pt", "pt-BR"}, {"pt-BR"}, "en", "pt-BR"},
                      ChoiceCase{"underscore folder matches a tag", {"pt", "pt_BR"}, {"pt-BR"}, "en", "pt_BR"},
                      ChoiceCase{"other territory takes the language", {"pt", "pt-BR"}, {"pt-PT"}, "en", "pt"},
                      ChoiceCase{"language does not take a territory", {"pt-BR", "en"}, {"pt"}, "en", "en"},
                      ChoiceCase{"letter case ignored", {"ZH-hans", "en"}, {"zh-Hans"}, "en", "ZH-hans"},
                      ChoiceCase{"code named wins over legacy", {"German", "de"}, {"de"}, "en", "de"},
                      ChoiceCase{"then first by name", {"pt_BR", "pt-BR"}, {"pt-BR"}, "en", "pt-BR"},
                      ChoiceCase{"development region", disc, {"ko"}, "French", "fr"},
                      ChoiceCase{
                          "development region by code finds legacy", {"Japanese", "English"}, {}, "ja", "Japanese"},
                      ChoiceCase{"development region with territory", {"de", "en"}, {"ko"}, "de_CH", "de"},
                      ChoiceCase{"English last", disc, {"ko"}, "Klingon", "English"},
                      ChoiceCase{"English without development region", {"en", "fr"}, {}, "", "en"},
                      ChoiceCase{"Norwegian under either code", {"Norwegian", "en"}, {"no"}, "en", "Norwegian"},
                      ChoiceCase{"nothing fits", {"de", "fr"}, {"ko"}, "it", std::nullopt},
                      ChoiceCase{"no folders", {}, {"de"}, "en", std::nullopt}),
    [](const auto& testCase) { return testing::caseName(testCase.param.name); });

}
}
