#include "catalogue/DocumentationKeys.h"
#include "catalogue/ZVModelDocumentation.h"

#include "DiscBuilder.h"

#include "CaseName.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <functional>

namespace docshelf {
namespace {

using foundation::Dictionary;
using foundation::Value;
using testing::DiscBuilder;
using testing::PlistFormat;

Value discEntry(const char* display, const std::string& path, const std::string& readMe, const char* code) {
    return Value::dictionary({{"documentation display name", display},
                              {"documentation path", path},
                              {"documentation readme path", readMe},
                              {"KPS docuemntation language code", code},
                              {"KPS docuemntation URL", ""}});
}

Value onlineEntry(const char* display, const char* code, const std::string& url) {
    return Value::dictionary({{"documentation display name", display},
                              {"documentation path", ""},
                              {"documentation readme path", ""},
                              {"KPS docuemntation language code", code},
                              {"KPS docuemntation URL", url}});
}

class ModelDocumentation : public ::testing::TestWithParam<PlistFormat> {
protected:
    void SetUp() override {
        disc.writeChain();
        disc.writeDocumentationPlist(DiscBuilder::fiveLanguages());
        disc.writeModelInfo(Value::dictionary({{"Model", Value::dictionary({
                                                             {"QX-500", Value::dictionary({{"KPSID", "X1"}})},
                                                             {"NoID", Value::dictionary({{"Other", "y"}})},
                                                         })}}));
    }

    // CDInfo with disc-wide settings and one model whose record is given.
    void writeCDInfo(const Value& discWide, const char* model = "QX-500", const Value& record = Value::dictionary({})) {
        std::vector<Value::Entry> root{{"ContainedModel", Value::dictionary({{model, record}})}};
        if (!discWide.isAbsent())
            root.emplace_back("Documentation", discWide);
        disc.writeCDInfo(Value::dictionary(std::move(root)));
    }

    Value docsPath() const { return Value(disc.path("Docs")); }
    Value list(const char* model = "QX-500") const {
        return ZVModelDocumentation::initWithName(model).objectForKey(keys::documentationList);
    }

    DiscBuilder disc{GetParam()};
};

TEST_P(ModelDocumentation, DiscEntriesFollowFolderInformationOrder) {
    // Created in the opposite order to Documentation.plist's.
    disc.writeLanguageFolder("Docs", "Japanese", {"top.pdf"});
    disc.writeLanguageFolder("Docs", "German", {"top.html", "MacOS_X_readme.rtf"});
    writeCDInfo(
        Value::dictionary({{"Path", docsPath()}, {"URL", "http://s/?"}, {"Language", Value::array({"English"})}}));

    Dictionary model = ZVModelDocumentation::initWithName("QX-500");
    std::string docs = disc.path("Docs");
    EXPECT_EQ(model,
              Value::dictionary(
                  {{"name", "QX-500"},
                   {"KPS model ID", "X1"},
                   {"Documentation list",
                    Value::array(
                        {discEntry("Deutsch", docs + "/German/top.html", docs + "/German/MacOS_X_readme.rtf", "de"),
                         discEntry("\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E", docs + "/Japanese/top.pdf", "", "ja")})}}))
        << "online documentation must not be consulted once the disc gives an entry";
    EXPECT_EQ(model.entries()[0].first, "name") << "keys keep their building order";
}

TEST_P(ModelDocumentation, StartDocumentChoice) {
    disc.writeLanguageFolder("Docs", "English", {"top.pdf", "top.html"});
    disc.writeLanguageFolder("Docs", "French", {"MacOS_X_readme.rtf"});
    disc.writeLanguageFolder("Docs", "German", {"top.pdf/"}); // a folder named top.pdf counts as something there
    writeCDInfo(Value::dictionary({{"Path", docsPath()}}));
    std::string docs = disc.path("Docs");
    Value entries = list();
    ASSERT_EQ(entries.count(), 3u);
    EXPECT_TRUE(
        entries.objectAtIndex(0).objectForKey(keys::documentationPath).isEqualToString(docs + "/English/top.pdf"));
    EXPECT_TRUE(
        entries.objectAtIndex(1).objectForKey(keys::documentationPath).isEqualToString(docs + "/German/top.pdf"));
    EXPECT_EQ(entries.objectAtIndex(2), discEntry("Fran\xC3\xA7"
                                                  "ais",
                                                  "", docs + "/French/MacOS_X_readme.rtf", "fr"))
        << "a folder without a start document still gives an entry, with empty path and URL";
}

TEST_P(ModelDocumentation, OnlyDirectoriesNamedExactlyCount) {
    disc.writeFile("Docs/English", "an ordinary file");
    disc.writeLanguageFolder("Docs", "german", {"top.pdf"});
    disc.writeLanguageFolder("Docs", "Klingon", {"top.pdf"});
    writeCDInfo(Value::dictionary({{"Path", docsPath()}}));
    EXPECT_EQ(list(), Value::array({}));
}

TEST_P(ModelDocumentation, SymbolicLinkToFolderIsFollowed) {
    disc.writeLanguageFolder("Shared", "English", {"top.pdf"});
    disc.makeDirectory("Docs");
    std::filesystem::create_directory_symlink(disc.path("Shared/English"), disc.path("Docs/English"));
    std::filesystem::create_symlink(disc.path("nowhere"), disc.path("Docs/German"));
    writeCDInfo(Value::dictionary({{"Path", docsPath()}}));
    EXPECT_EQ(list(), Value::array({discEntry("English", disc.path("Docs") + "/English/top.pdf", "", "en")}));
}

TEST_P(ModelDocumentation, TrailingSlashIsKeptAsGiven) {
    disc.writeLanguageFolder("Docs", "English", {"top.pdf"});
    writeCDInfo(Value::dictionary({{"Path", disc.path("Docs") + "/"}}));
    EXPECT_TRUE(list()
                    .objectAtIndex(0)
                    .objectForKey(keys::documentationPath)
                    .isEqualToString(disc.path("Docs") + "//English/top.pdf"));
}

TEST_P(ModelDocumentation, ModelSettingsReplaceDiscWideOnesWhole) {
    disc.writeLanguageFolder("Docs", "English", {"top.pdf"});
    writeCDInfo(Value::dictionary({{"Path", docsPath()}}), "QX-500",
                Value::dictionary(
                    {{"Documentation", Value::dictionary({{"URL", "P?"}, {"Language", Value::array({"English"})}})}}));
    EXPECT_EQ(list(), Value::array({onlineEntry("English", "en", "P?MDL=X1&LNG=en&SRC=DOC")}));
}

TEST_P(ModelDocumentation, ModelMissingFromModelInfoHasEmptyIdentifier) {
    writeCDInfo(Value::dictionary({{"URL", "P?"}, {"Language", Value::array({"English"})}}), "Unknown");
    Dictionary model = ZVModelDocumentation::initWithName("Unknown");
    EXPECT_TRUE(model.objectForKey(keys::kpsModelID).isEqualToString(""));
    EXPECT_EQ(model.objectForKey(keys::documentationList),
              Value::array({onlineEntry("English", "en", "P?MDL=&LNG=en&SRC=DOC")}));
}

TEST_P(ModelDocumentation, OnlineEntriesFollowFolderInformationOrder) {
    writeCDInfo(
        Value::dictionary({{"URL", "http://support.example.com/manual?"},
                           {"Language", Value::array({"Spanish", "English", "Klingon", "english", "Spanish"})}}));
    const std::string p = "http://support.example.com/manual?MDL=X1&LNG=";
    EXPECT_EQ(list(), Value::array({onlineEntry("English", "en", p + "en&SRC=DOC"),
                                    onlineEntry("Espa\xC3\xB1ol", "es", p + "es&SRC=DOC"),
                                    onlineEntry("Espa\xC3\xB1ol", "es", p + "es&SRC=DOC")}))
        << "a language listed twice gives two entries; unknown and wrongly cased ones none";
}

TEST_P(ModelDocumentation, IdentificationWithoutKPSIDHoldsNameOnly) {
    writeCDInfo(Value::dictionary({{"URL", "P?"}, {"Language", Value::array({"English"})}}), "NoID");
    EXPECT_EQ(ZVModelDocumentation::initWithName("NoID"), Value::dictionary({{"name", "NoID"}}));
}

TEST_P(ModelDocumentation, FolderInformationMembersWithMissingKeys) {
    disc.writeDocumentationPlist(
        Value::dictionary({{"FolderInfoArray", Value::array({
                                                   DiscBuilder::member(nullptr, "Nameless", "xx"),
                                                   DiscBuilder::member("English", nullptr, "en"),
                                                   DiscBuilder::member("English", "English", nullptr),
                                                   Value("not a member"),
                                                   DiscBuilder::member("English", "English", "en"),
                                               })}}));
    disc.writeLanguageFolder("Docs", "English", {"top.pdf"});
    writeCDInfo(Value::dictionary({{"Path", docsPath()}}));
    std::string pdf = disc.path("Docs") + "/English/top.pdf";
    EXPECT_EQ(list(), Value::array({
                          Value::dictionary({}),
                          Value::dictionary({{"documentation display name", "English"},
                                             {"documentation path", pdf},
                                             {"documentation readme path", ""}}),
                          discEntry("English", pdf, "", "en"),
                      }));
}

// Each condition leaves the model with an empty documentation list. Every case
// has documentation on the disc or online that one fault keeps out of reach.
struct EmptyListCase {
    const char* name;
    std::function<Value(const DiscBuilder&)> settings;
    std::function<void(const DiscBuilder&)> prepare = [](const DiscBuilder&) {};
};

Value reachableEverywhere(const DiscBuilder& d) {
    return Value::dictionary({{"Path", d.path("Docs")}, {"URL", "P?"}, {"Language", Value::array({"English"})}});
}

std::vector<EmptyListCase> emptyListCases() {
    return {
        {"no settings at all", [](const DiscBuilder&) { return Value(); }},
        {"settings not a dictionary", [](const DiscBuilder&) { return Value("Docs"); }},
        {"Documentation.plist missing", reachableEverywhere,
         [](const DiscBuilder& d) {
             std::filesystem::remove(d.appPath() + "/Contents/Resources/Documentation.plist");
         }},
        {"Documentation.plist garbage", reachableEverywhere,
         [](const DiscBuilder& d) { d.writeFile("Docshelf.app/Contents/Resources/Documentation.plist", "<plist>"); }},
        {"FolderInfoArray missing", reachableEverywhere,
         [](const DiscBuilder& d) { d.writeDocumentationPlist(Value::dictionary({})); }},
        {"FolderInfoArray empty", reachableEverywhere,
         [](const DiscBuilder& d) {
             d.writeDocumentationPlist(Value::dictionary({{"FolderInfoArray", Value::array({})}}));
         }},
        {"FolderInfoArray a dictionary", reachableEverywhere,
         [](const DiscBuilder& d) {
             d.writeDocumentationPlist(Value::dictionary({{"FolderInfoArray", Value::dictionary({{"English", "x"}})}}));
         }},
        {"Path names a file",
         [](const DiscBuilder& d) {
             return Value::dictionary({{"Path", d.path("Docs/English/top.pdf")}});
         }},
        {"Path names no folder",
         [](const DiscBuilder& d) {
             return Value::dictionary({{"Path", d.path("Nowhere")}});
         }},
        {"Path a number",
         [](const DiscBuilder&) {
             return Value::dictionary({{"Path", Value::integer(5)}});
         }},
        {"URL absent",
         [](const DiscBuilder&) {
             return Value::dictionary({{"Language", Value::array({"English"})}});
         }},
        {"Language absent",
         [](const DiscBuilder&) {
             return Value::dictionary({{"URL", "P?"}});
         }},
        {"Language empty",
         [](const DiscBuilder&) {
             return Value::dictionary({{"URL", "P?"}, {"Language", Value::array({})}});
         }},
        {"Language a string",
         [](const DiscBuilder&) {
             return Value::dictionary({{"URL", "P?"}, {"Language", "English"}});
         }},
        {"Language of numbers",
         [](const DiscBuilder&) {
             return Value::dictionary({{"URL", "P?"}, {"Language", Value::array({Value::integer(1)})}});
         }},
    };
}

class ModelDocumentationEmpty : public ::testing::TestWithParam<std::tuple<PlistFormat, EmptyListCase>> {};

TEST_P(ModelDocumentationEmpty, GivesEmptyList) {
    auto [format, c] = GetParam();
    DiscBuilder disc(format);
    disc.writeChain();
    disc.writeDocumentationPlist(DiscBuilder::fiveLanguages());
    disc.writeLanguageFolder("Docs", "English", {"top.pdf"});
    std::vector<Value::Entry> root{{"ContainedModel", Value::dictionary({{"QX-500", Value::dictionary({})}})}};
    if (Value settings = c.settings(disc); !settings.isAbsent())
        root.emplace_back("Documentation", settings);
    disc.writeCDInfo(Value::dictionary(std::move(root)));
    c.prepare(disc);

    Dictionary model = ZVModelDocumentation::initWithName("QX-500");
    EXPECT_EQ(model,
              Value::dictionary({{"name", "QX-500"}, {"KPS model ID", ""}, {"Documentation list", Value::array({})}}))
        << c.name;
}

INSTANTIATE_TEST_SUITE_P(Cases, ModelDocumentationEmpty,
                         ::testing::Combine(::testing::Values(PlistFormat::Xml, PlistFormat::Binary),
                                            ::testing::ValuesIn(emptyListCases())),
                         [](const auto& testCase) {
                             return testing::caseName(std::string(testing::formatName(std::get<0>(testCase.param))) +
                                                      " " + std::get<1>(testCase.param).name);
                         });

TEST_P(ModelDocumentation, AbsentNameGivesEmptyDictionary) {
    writeCDInfo(Value::dictionary({}));
    Dictionary model = ZVModelDocumentation::initWithName(Value());
    EXPECT_TRUE(model.isDictionary());
    EXPECT_EQ(model.count(), 0u);
}

TEST_P(ModelDocumentation, ReflectsTheDiscAtEachCall) {
    writeCDInfo(Value::dictionary({{"Path", docsPath()}}));
    EXPECT_EQ(list().count(), 0u);
    disc.writeLanguageFolder("Docs", "English", {"top.html"});
    EXPECT_EQ(list().count(), 1u);
    disc.writeFile("Docs/English/top.pdf");
    EXPECT_TRUE(list().objectAtIndex(0).objectForKey(keys::documentationPath).hasSuffix("/top.pdf"));
}

TEST_P(ModelDocumentation, MemberListedTwiceGivesTwoEntries) {
    Value twice =
        Value::dictionary({{"FolderInfoArray", Value::array({DiscBuilder::member("English", "English", "en"),
                                                             DiscBuilder::member("English", "English", "en")})}});
    disc.writeDocumentationPlist(twice);
    disc.writeLanguageFolder("Docs", "English", {});
    writeCDInfo(Value::dictionary({{"Path", docsPath()}}));
    EXPECT_EQ(list().count(), 2u);
}

TEST(ModelDocumentationParts, FourthArgumentIsNotRead) {
    DiscBuilder disc;
    Dictionary cd(Value::dictionary({{"ContainedModel", Value::dictionary({{"M", Value::dictionary({})}})}}));
    Dictionary modelInfo(
        Value::dictionary({{"Model", Value::dictionary({{"M", Value::dictionary({{"KPSID", "K"}})}})}}));
    Dictionary bogus(Value::dictionary({{"CDInfo", "/elsewhere"}}));
    EXPECT_EQ(ZVModelDocumentation::initWithName("M", cd, modelInfo, bogus),
              ZVModelDocumentation::initWithName("M", cd, modelInfo, Dictionary()));
    EXPECT_EQ(ZVModelDocumentation::initWithName("M", Dictionary(), Dictionary(), Dictionary()),
              Value::dictionary({{"name", "M"}, {"KPS model ID", ""}, {"Documentation list", Value::array({})}}));
}

TEST(ModelDocumentationParts, ListOperationsAlwaysGiveArrays) {
    DiscBuilder disc;
    EXPECT_EQ(ZVModelDocumentation::languagePropertyList(Value()), Value::array({}));
    EXPECT_EQ(ZVModelDocumentation::languagePropertyList(Value(), Value::array({"English"}), "X"), Value::array({}));
    EXPECT_EQ(ZVModelDocumentation::languagePropertyList("P?", Value(), "X"), Value::array({}));
}

INSTANTIATE_TEST_SUITE_P(Formats, ModelDocumentation, ::testing::Values(PlistFormat::Xml, PlistFormat::Binary),
                         [](const auto& testCase) { return testing::formatName(testCase.param); });

}
}
