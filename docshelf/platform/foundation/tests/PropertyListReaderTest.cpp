#include "platform/foundation/Dictionary.h"
#include "platform/foundation/PropertyListReader.h"

#include "PropertyListWriter.h"
#include "TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace docshelf::foundation {
namespace {

using testing::PlistFormat;
using testing::PropertyListWriter;
using testing::TemporaryDirectory;

Value everyKind() {
    return Value::dictionary({
        {"string", "Grüße \"quoted\" <tag> & more"},
        {"empty", ""},
        {"integer", Value::integer(42)},
        {"real", Value::real(2.5)},
        {"true", Value::boolean(true)},
        {"false", Value::boolean(false)},
        {"date", Value::date(3600)},
        {"data", Value::data({0, 1, 255})},
        {"array", Value::array({"a", Value::integer(1), Value::array({})})},
        {"nested", Value::dictionary({{"inner", Value::dictionary({})}})},
    });
}

class PropertyListFormats : public ::testing::TestWithParam<PlistFormat> {};

TEST_P(PropertyListFormats, RoundTripsEveryKindInOrder) {
    TemporaryDirectory dir;
    PropertyListWriter::writeFile(dir / "Info.strings", everyKind(), GetParam());
    Dictionary read = Dictionary::dictionaryWithContentsOfFile(dir / "Info.strings");
    EXPECT_EQ(read, everyKind());
}

TEST_P(PropertyListFormats, RootOtherThanDictionaryIsAbsent) {
    TemporaryDirectory dir;
    PropertyListWriter::writeFile(dir / "a.plist", Value::array({"x"}), GetParam());
    PropertyListWriter::writeFile(dir / "s.plist", Value("x"), GetParam());
    EXPECT_TRUE(Dictionary::dictionaryWithContentsOfFile(dir / "a.plist").isAbsent());
    EXPECT_TRUE(Dictionary::dictionaryWithContentsOfFile(dir / "s.plist").isAbsent());
    EXPECT_TRUE(PropertyListReader::readFile(dir / "a.plist").root.isArray()) << "the reader itself keeps any root";
}

TEST_P(PropertyListFormats, TruncatedFileIsAbsentWithAMessage) {
    std::string bytes = PropertyListWriter::serialize(everyKind(), GetParam());
    for (std::size_t cut : {std::size_t{0}, std::size_t{1}, bytes.size() / 2, bytes.size() - 10}) {
        std::string part = bytes.substr(0, cut);
        auto result =
            PropertyListReader::parse(std::span(reinterpret_cast<const std::uint8_t*>(part.data()), part.size()));
        EXPECT_FALSE(result.root.isDictionary()) << formatName(GetParam()) << " cut at " << cut;
        EXPECT_FALSE(result.error.empty()) << formatName(GetParam()) << " cut at " << cut;
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, PropertyListFormats, ::testing::Values(PlistFormat::Xml, PlistFormat::Binary),
                         [](const auto& testCase) { return testing::formatName(testCase.param); });

struct BadFileCase {
    const char* name;
    const char* contents;
};

class UnreadableProperyList : public ::testing::TestWithParam<BadFileCase> {};

TEST_P(UnreadableProperyList, IsAbsent) {
    TemporaryDirectory dir;
    dir.write("bad.plist", GetParam().contents);
    EXPECT_TRUE(Dictionary::dictionaryWithContentsOfFile(dir / "bad.plist").isAbsent()) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Contents, UnreadableProperyList,
    ::testing::Values(BadFileCase{"empty", ""}, BadFileCase{"text", "hello, world"},
                      BadFileCase{"binary magic only", "bplist00"},
                      BadFileCase{"unclosed dict", "<?xml version=\"1.0\"?><plist><dict><key>a</key>"},
                      BadFileCase{"no closing tags", "<?xml version=\"1.0\"?><plist><dict></dict>"},
                      BadFileCase{"array root", "<plist><array/></plist>"}),
    [](const auto& testCase) {
        std::string name = testCase.param.name;
        for (char& c : name)
            if (c == ' ')
                c = '_';
        return name;
    });

TEST(PropertyListReader, KeyWithoutValueIsLeftOut) {
    TemporaryDirectory dir;
    dir.write("k.plist", "<plist><dict><key>a</key><key>b</key><string>B</string></dict></plist>");
    Dictionary read = Dictionary::dictionaryWithContentsOfFile(dir / "k.plist");
    EXPECT_TRUE(read.objectForKey("a").isAbsent());
}

TEST(PropertyListReader, DeepNestingIsRefusedNotRecursedInto) {
    std::string xml = "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>k</key>";
    for (int i = 0; i < 100000; ++i)
        xml += "<array>";
    auto result = PropertyListReader::parse(std::span(reinterpret_cast<const std::uint8_t*>(xml.data()), xml.size()));
    EXPECT_TRUE(result.root.isAbsent());
    EXPECT_NE(result.error.find("nested"), std::string::npos) << result.error;
}

TEST(PropertyListReader, MissingPathsAndDirectoriesAreAbsent) {
    TemporaryDirectory dir;
    dir.makeDirectory("folder.plist");
    EXPECT_TRUE(Dictionary::dictionaryWithContentsOfFile(dir / "missing.plist").isAbsent());
    EXPECT_TRUE(Dictionary::dictionaryWithContentsOfFile(dir / "folder.plist").isAbsent());
    EXPECT_TRUE(Dictionary::dictionaryWithContentsOfFile(Value()).isAbsent());
    EXPECT_TRUE(Dictionary::dictionaryWithContentsOfFile(Value::integer(1)).isAbsent());
}

TEST(PropertyListReader, UnreadableFileIsAbsent) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    TemporaryDirectory dir;
    PropertyListWriter::writeFile(dir / "locked.plist", everyKind(), PlistFormat::Xml);
    chmod((dir / "locked.plist").c_str(), 0);
    EXPECT_TRUE(Dictionary::dictionaryWithContentsOfFile(dir / "locked.plist").isAbsent());
}

}
}
