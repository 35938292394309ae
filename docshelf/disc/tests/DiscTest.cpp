#include "CaseName.h"
#include "DiscBuilder.h"
#include "PropertyListWriter.h"

#include "disc/Disc.h"
#include "disc/KeyPlaces.h"
#include "disc/LanguageFolders.h"

#include "platform/foundation/FileAccessLog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

namespace docshelf {
namespace {

using foundation::Value;
using testing::DiscBuilder;
using testing::PlistFormat;

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

Value member(const char* folder) {
    return DiscBuilder::member(folder, folder, "xx");
}

struct MatchCase {
    std::string name;
    std::vector<Value> members;
    std::vector<Value> folders;
    std::vector<std::pair<std::size_t, std::string>> expected; // member index, folder
};

const std::vector<MatchCase> matchCases{
    {"member order, not folder order",
     {member("English"), member("German"), member("French")},
     {"French", "English"},
     {{0, "English"}, {2, "French"}}},
    {"a member listed twice matches twice",
     {member("German"), member("German")},
     {"German"},
     {{0, "German"}, {1, "German"}}},
    {"letter case counts", {member("German")}, {"german", "GERMAN"}, {}},
    {"a member without a folder name matches nothing",
     {Value::dictionary({{"Display Name", "x"}}), member("English")},
     {"English"},
     {{1, "English"}}},
    {"a folder name that is no string matches nothing",
     {Value::dictionary({{"Folder Name", Value::array({"German"})}})},
     {"German"},
     {}},
};

class LanguageFolderMatch : public ::testing::TestWithParam<MatchCase> {};

TEST_P(LanguageFolderMatch, PairsMembersWithFoldersAsTheBrowserDoes) {
    const MatchCase& c = GetParam();
    auto matches = disc::LanguageFolders::match(Value::array(c.members), c.folders);
    std::vector<std::pair<std::size_t, std::string>> got;
    for (const auto& match : matches)
        got.emplace_back(match.memberIndex, std::string(match.name.text()));
    EXPECT_EQ(got, c.expected) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Cases, LanguageFolderMatch, ::testing::ValuesIn(matchCases),
                         [](const auto& test) { return testing::caseName(test.param.name); });

// Two models on a disc: QX-1 on the disc-wide settings, QX-2 with its own
// settings that lack "Path" (and do not take the disc-wide one).
class ReadDisc : public ::testing::TestWithParam<PlistFormat> {};

TEST_P(ReadDisc, EveryModelCarriesItsSettingsAndWhereTheyCameFrom) {
    PlistFormat format = GetParam();
    std::string name = testing::formatName(format);
    DiscBuilder disc(format);
    disc.writeChain();
    disc.writeDocumentationPlist(DiscBuilder::fiveLanguages());
    disc.writeCDInfo(Value::dictionary(
        {{"ContainedModel",
          Value::dictionary({{"qx-2", Value::dictionary({{"Documentation", Value::dictionary({{"URL", "u?"}})}})},
                             {"QX-1", Value::dictionary({})}})},
         {"Documentation", Value::dictionary({{"Path", disc.path("Docs")}})}}));
    disc.writeModelInfo(
        Value::dictionary({{"Model", Value::dictionary({{"QX-1", Value::dictionary({{"KPSID", "Q1"}})}})}}));

    auto read = disc::Disc::read();
    ASSERT_TRUE(read.cdInfo.root.ok()) << name << ": " << read.cdInfo.root.problem().message;
    auto models = read.models();
    ASSERT_EQ(models.size(), 2u) << name;
    EXPECT_EQ(models[0].name, "QX-1") << name;
    EXPECT_FALSE(models[0].settings.own) << name;
    EXPECT_EQ(models[0].settings.settings.objectForKey("Path").text(), disc.path("Docs")) << name;
    EXPECT_EQ(models[0].settingsAt.keyPath, std::vector<std::string>{"Documentation"}) << name;
    EXPECT_EQ(models[0].identification.objectForKey("KPSID").text(), "Q1") << name;

    EXPECT_EQ(models[1].name, "qx-2") << name;
    EXPECT_TRUE(models[1].settings.own) << name;
    EXPECT_TRUE(models[1].settings.settings.objectForKey("Path").isAbsent()) << name << ": never the disc-wide Path";
    EXPECT_TRUE(models[1].identification.isAbsent()) << name;
    EXPECT_EQ(models[1].settingsAt.file, disc.path("MacResources/CDInfo.plist")) << name;
    EXPECT_EQ(models[1].settingsAt.keyPath, (std::vector<std::string>{"ContainedModel", "qx-2", "Documentation"}))
        << name;
    // An XML list gives the line and byte offset of the key; a binary list has none.
    std::string text = readFile(disc.path("MacResources/CDInfo.plist"));
    if (format == PlistFormat::Xml) {
        auto at = models[1].settingsAt;
        ASSERT_NE(at.offset, foundation::Position::noOffset) << name;
        EXPECT_TRUE(text.compare(at.offset, 5, "<key>") == 0) << name << ": " << text.substr(at.offset, 20);
        auto ownKey = text.find("<key>Documentation", text.find("<key>qx-2"));
        EXPECT_EQ(at.offset, ownKey) << name;
        EXPECT_EQ(at.line, 1 + static_cast<std::size_t>(
                                   std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(ownKey), '\n')))
            << name;
    } else {
        EXPECT_EQ(models[1].settingsAt.line, 0u) << name;
    }
}

TEST_P(ReadDisc, AnUnreadableListSaysWhy) {
    DiscBuilder disc(GetParam());
    disc.writeChain();
    disc.writeModelInfo(Value::dictionary({{"Model", Value::dictionary({})}}));
    disc.writeFile("MacResources/CDInfo.plist", "<?xml version=\"1.0\"?>\n<plist><dict><key>A</dict></plist>");
    auto read = disc::Disc::read();
    ASSERT_FALSE(read.cdInfo.root.ok());
    EXPECT_FALSE(read.cdInfo.root.problem().message.empty());
    EXPECT_EQ(read.cdInfo.root.problem().position.file, disc.path("MacResources/CDInfo.plist"));
    EXPECT_TRUE(read.modelInfo.root.ok()) << "one unreadable list does not hide the others";
}

INSTANTIATE_TEST_SUITE_P(Formats, ReadDisc, ::testing::Values(PlistFormat::Xml, PlistFormat::Binary),
                         [](const auto& test) { return testing::formatName(test.param); });

// Finding the places of many keys reads and parses the list once.
TEST(KeyPlaces, ManyQuestionsOneReading) {
    DiscBuilder disc(PlistFormat::Xml);
    std::vector<Value::Entry> records;
    for (int i = 0; i < 200; ++i)
        records.push_back({"M" + std::to_string(i), Value::dictionary({{"Other", "x"}})});
    std::string path = disc.writePlist("ModelInfo.plist", Value::dictionary({{"Model", Value::dictionary(records)}}));
    std::vector<foundation::FileAccessLog::Entry> log;
    foundation::FileAccessLog::install(&log);
    auto reads = [&] { return std::count_if(log.begin(), log.end(), [&](const auto& e) { return e.path == path; }); };
    disc::PropertyListFile file = disc::PropertyListFile::read(Value(path));
    std::size_t lastLine = 0;
    std::ptrdiff_t afterFirst = 0;
    for (int i = 0; i < 200; ++i) {
        auto at = file.origin({"Model", "M" + std::to_string(i), "KPSID"});
        EXPECT_GT(at.line, lastLine) << "M" << i << ": the deepest key found, in document order";
        lastLine = at.line;
        if (i == 0)
            afterFirst = reads();
    }
    foundation::FileAccessLog::install(nullptr);
    EXPECT_EQ(reads(), afterFirst) << "199 more questions read the list again";
}

}
}
