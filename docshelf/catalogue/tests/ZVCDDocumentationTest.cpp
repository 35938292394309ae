#include "catalogue/DocumentationKeys.h"
#include "catalogue/ZVCDDocumentation.h"

#include "DiscBuilder.h"

#include "CaseName.h"

#include <gtest/gtest.h>

#include "platform/foundation/Bundle.h"

#include <cctype>
#include <filesystem>
#include <functional>

namespace docshelf {
namespace {

using foundation::Dictionary;
using foundation::Value;
using testing::DiscBuilder;
using testing::PlistFormat;

Value cdInfoWithModels(std::vector<const char*> names) {
    std::vector<Value::Entry> models;
    for (const char* name : names)
        models.emplace_back(name, Value::dictionary({}));
    return Value::dictionary({{"ContainedModel", Value::dictionary(std::move(models))}});
}

class CDInformation : public ::testing::TestWithParam<PlistFormat> {
protected:
    DiscBuilder disc{GetParam()};
};

TEST_P(CDInformation, SortsModelsIgnoringCaseWithDigitsAsCharacters) {
    disc.writeChain();
    disc.writeCDInfo(cdInfoWithModels({"model-9", "Model-10", "alpha"}));
    Dictionary info = ZVCDDocumentation::initWithCDInfo();
    EXPECT_EQ(info, Value::dictionary({{"contained models", Value::array({"alpha", "Model-10", "model-9"})}}));
}

TEST_P(CDInformation, ListDependsOnKeysAloneNotOnRecords) {
    disc.writeChain();
    disc.writeCDInfo(Value::dictionary(
        {{"ContainedModel",
          Value::dictionary(
              {{"QX 500 \xC3\x9C"
                "ber",
                Value::dictionary({})},                // "QX 500 Über"
               {"\xC3\xA9lan", Value("not a record")}, // "élan"
               {"Basic", Value::dictionary({{"Documentation", Value::dictionary({{"Path", "/x"}})}})}})}}));
    Value models = ZVCDDocumentation::initWithCDInfo().objectForKey(keys::containedModels);
    EXPECT_EQ(models, Value::array({"Basic",
                                    "QX 500 \xC3\x9C"
                                    "ber",
                                    "\xC3\xA9lan"}));
}

TEST_P(CDInformation, EmptyContainedModelGivesEmptyList) {
    disc.writeChain();
    disc.writeCDInfo(Value::dictionary({{"ContainedModel", Value::dictionary({})}}));
    Dictionary info = ZVCDDocumentation::initWithCDInfo();
    ASSERT_EQ(info.count(), 1u);
    EXPECT_EQ(info.objectForKey(keys::containedModels), Value::array({}));
}

TEST_P(CDInformation, ReadsTheDiscAgainOnEveryCall) {
    disc.writeChain();
    disc.writeCDInfo(cdInfoWithModels({"A"}));
    EXPECT_EQ(ZVCDDocumentation::initWithCDInfo().objectForKey(keys::containedModels), Value::array({"A"}));
    disc.writeCDInfo(cdInfoWithModels({"B", "A"}));
    EXPECT_EQ(ZVCDDocumentation::initWithCDInfo().objectForKey(keys::containedModels), Value::array({"A", "B"}));
}

// Each way the chain of property lists can break gives the empty dictionary.
struct BrokenDisc {
    const char* name;
    std::function<void(const DiscBuilder&)> prepare;
};

class CDInformationFailure : public ::testing::TestWithParam<std::tuple<PlistFormat, BrokenDisc>> {};

TEST_P(CDInformationFailure, GivesEmptyDictionary) {
    auto [format, broken] = GetParam();
    DiscBuilder disc(format);
    disc.writeChain();
    disc.writeCDInfo(cdInfoWithModels({"QX-500"}));
    broken.prepare(disc);
    Dictionary info = ZVCDDocumentation::initWithCDInfo();
    EXPECT_TRUE(info.isDictionary()) << broken.name;
    EXPECT_EQ(info.count(), 0u) << broken.name;
}

std::vector<BrokenDisc> brokenDiscs() {
    return {
        {"no Info.plist", [](const DiscBuilder& d) { std::filesystem::remove(d.appPath() + "/Contents/Info.plist"); }},
        {"no CommonResourcePath",
         [](const DiscBuilder& d) {
             d.writeInfoPlist(Value::dictionary({{"X", "y"}}));
         }},
        {"CommonResourcePath not a string",
         [](const DiscBuilder& d) {
             d.writeInfoPlist(Value::dictionary({{"CommonResourcePath", Value::integer(3)}}));
         }},
        {"common resource missing",
         [](const DiscBuilder& d) { std::filesystem::remove(d.path("MacResources/CommonResource.plist")); }},
        {"common resource is an array",
         [](const DiscBuilder& d) { d.writePlist("MacResources/CommonResource.plist", Value::array({"CDInfo"})); }},
        {"common resource is garbage",
         [](const DiscBuilder& d) { d.writeFile("MacResources/CommonResource.plist", "garbage"); }},
        {"no CDInfo key",
         [](const DiscBuilder& d) {
             d.writePlist("MacResources/CommonResource.plist", Value::dictionary({{"ModelInfo", "x"}}));
         }},
        {"CDInfo missing", [](const DiscBuilder& d) { std::filesystem::remove(d.path("MacResources/CDInfo.plist")); }},
        {"CDInfo truncated",
         [](const DiscBuilder& d) {
             std::string bytes = testing::PropertyListWriter::serialize(cdInfoWithModels({"QX-500"}), d.format());
             d.writeFile("MacResources/CDInfo.plist", bytes.substr(0, bytes.size() - 12));
         }},
        {"CDInfo is a directory",
         [](const DiscBuilder& d) {
             std::filesystem::remove(d.path("MacResources/CDInfo.plist"));
             d.makeDirectory("MacResources/CDInfo.plist");
         }},
        {"no ContainedModel",
         [](const DiscBuilder& d) {
             d.writeCDInfo(Value::dictionary({{"Documentation", Value::dictionary({})}}));
         }},
        {"ContainedModel is an array",
         [](const DiscBuilder& d) {
             d.writeCDInfo(Value::dictionary({{"ContainedModel", Value::array({"QX-500"})}}));
         }},
    };
}

INSTANTIATE_TEST_SUITE_P(Formats, CDInformation, ::testing::Values(PlistFormat::Xml, PlistFormat::Binary),
                         [](const auto& testCase) { return testing::formatName(testCase.param); });

INSTANTIATE_TEST_SUITE_P(Cases, CDInformationFailure,
                         ::testing::Combine(::testing::Values(PlistFormat::Xml, PlistFormat::Binary),
                                            ::testing::ValuesIn(brokenDiscs())),
                         [](const auto& testCase) {
                             return testing::caseName(std::string(testing::formatName(std::get<0>(testCase.param))) +
                                                      " " + std::get<1>(testCase.param).name);
                         });

TEST(CDInformationPlist, AbsentArgumentGivesEmptyDictionaryNotEmptyList) {
    Dictionary info = ZVCDDocumentation::initWithCDInfoPlist(Dictionary());
    EXPECT_TRUE(info.isDictionary());
    EXPECT_TRUE(info.objectForKey(keys::containedModels).isAbsent());
}

TEST(CDInformationPlist, WithoutAnyMainBundle) {
    foundation::Bundle::setMainBundlePath("/nonexistent/Docshelf.app");
    EXPECT_EQ(ZVCDDocumentation::initWithCDInfo().count(), 0u);
    foundation::Bundle::setMainBundlePath(std::nullopt);
}

}
}
