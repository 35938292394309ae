#include "catalogue/ZVModelDocumentationLookups.h"

#include "CaseName.h"

#include <gtest/gtest.h>

namespace docshelf {
namespace {

using foundation::Value;

Value entry(std::vector<Value::Entry> keys) {
    return Value::dictionary(std::move(keys));
}

Value model(std::vector<Value> entries) {
    return Value::dictionary(
        {{"name", "M"}, {"KPS model ID", "K"}, {"Documentation list", Value::array(std::move(entries))}});
}

const Value discEnglish = entry({{"documentation display name", "English"},
                                 {"documentation path", "/d/English/top.pdf"},
                                 {"documentation readme path", "/d/English/MacOS_X_readme.rtf"},
                                 {"KPS docuemntation language code", "en"},
                                 {"KPS docuemntation URL", ""}});
const Value onlineGerman = entry({{"documentation display name", "Deutsch"},
                                  {"documentation path", ""},
                                  {"documentation readme path", ""},
                                  {"KPS docuemntation language code", "de"},
                                  {"KPS docuemntation URL", "P?MDL=K&LNG=de&SRC=DOC"}});
const Value codelessFrench = entry({{"documentation display name", "Fran\xC3\xA7"
                                                                   "ais"},
                                    {"documentation path", "/d/French/top.html"},
                                    {"documentation readme path", ""}});

struct LookupCase {
    const char* name;
    Value dictionary;
    Value displayName;
    Value path, readMe, url; // absent where the lookup gives absent
};

class DocumentationLookups : public ::testing::TestWithParam<LookupCase> {};

TEST_P(DocumentationLookups, AnswerFromFirstMatchingEntry) {
    const auto& c = GetParam();
    EXPECT_EQ(documentationPathWithDisplayLanguageName(c.dictionary, c.displayName), c.path) << c.name;
    EXPECT_EQ(documentationReadMePathWithDisplayLanguageName(c.dictionary, c.displayName), c.readMe) << c.name;
    EXPECT_EQ(documentationURLWithDisplayLanguageName(c.dictionary, c.displayName), c.url) << c.name;
}

const Value sharedName = entry({{"documentation display name", "English"}, {"documentation path", ""}});

INSTANTIATE_TEST_SUITE_P(
    Cases, DocumentationLookups,
    ::testing::Values(
        LookupCase{"disc entry", model({onlineGerman, discEnglish}), "English", "/d/English/top.pdf",
                   "/d/English/MacOS_X_readme.rtf", ""},
        LookupCase{"online entry", model({discEnglish, onlineGerman}), "Deutsch", "", "", "P?MDL=K&LNG=de&SRC=DOC"},
        LookupCase{"entry without language code", model({codelessFrench}),
                   "Fran\xC3\xA7"
                   "ais",
                   "/d/French/top.html", "", Value()},
        LookupCase{"first of two equal names decides, even empty or absent", model({sharedName, discEnglish}),
                   "English", "", Value(), Value()},
        LookupCase{"letter case counts", model({discEnglish}), "english", Value(), Value(), Value()},
        LookupCase{"absent name matches nothing", model({entry({}), discEnglish}), Value(), Value(), Value(), Value()},
        LookupCase{"entry without display name never matches", model({entry({{"documentation path", "/x"}})}), "",
                   Value(), Value(), Value()},
        LookupCase{"no documentation list", Value::dictionary({{"name", "M"}}), "English", Value(), Value(), Value()},
        LookupCase{"list of another type", Value::dictionary({{"Documentation list", "English"}}), "English", Value(),
                   Value(), Value()},
        LookupCase{"entries of another type", model({Value("English"), Value::integer(3), discEnglish}), "English",
                   "/d/English/top.pdf", "/d/English/MacOS_X_readme.rtf", ""},
        LookupCase{"absent receiver", Value(), "English", Value(), Value(), Value()}),
    [](const auto& testCase) { return testing::caseName(testCase.param.name); });

TEST(DocumentationLookupsResult, OutlivesTheDictionary) {
    Value path;
    {
        Value dictionary = model({discEnglish});
        path = documentationPathWithDisplayLanguageName(dictionary, "English");
    }
    EXPECT_TRUE(path.isEqualToString("/d/English/top.pdf"));
}

}
}
