#include "platform/foundation/StringsTable.h"

#include "CaseName.h"
#include "PropertyListWriter.h"
#include "TemporaryDirectory.h"
#include "TextEncoding.h"

#include <gtest/gtest.h>

namespace docshelf::foundation {
namespace {

using testing::PlistFormat;
using testing::PropertyListWriter;
using testing::TemporaryDirectory;
using Entries = std::vector<std::pair<std::string, std::string>>;

struct TextCase {
    const char* name;
    std::string text;
    Entries expected;
};

void PrintTo(const TextCase& c, std::ostream* out) {
    *out << c.name;
}

class StringsTableText : public ::testing::TestWithParam<TextCase> {};

TEST_P(StringsTableText, ReadsEntriesInOrder) {
    StringsTableResult result = StringsTable::parse(GetParam().text);
    EXPECT_TRUE(result.ok) << GetParam().name << ": " << result.message << " at " << result.line << ":"
                           << result.column;
    EXPECT_EQ(result.entries, GetParam().expected) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StringsTableText,
    ::testing::Values(
        TextCase{"pair", R"("BTN_CLOSE" = "Close";)", {{"BTN_CLOSE", "Close"}}}, TextCase{"empty file", "", {}},
        TextCase{"only space and comments", " \n/* a */ // b\n\t", {}},
        TextCase{"spacing and line ends", "\"a\"\r\n=\r\n\"b\"\r\n;\r\"c\"\t=\"d\";\n", {{"a", "b"}, {"c", "d"}}},
        TextCase{"bare key and value", "Key_1.x-$:/y = value.2;", {{"Key_1.x-$:/y", "value.2"}}},
        TextCase{"key alone is its own text", "\"Quit\";\nHide;", {{"Quit", "Quit"}, {"Hide", "Hide"}}},
        TextCase{"single quotes", R"('it' = 'say "hi"';)", {{"it", "say \"hi\""}}},
        TextCase{
            "comments between tokens", "/* head\n * more */ \"a\" /* x */ = // y\n \"b\" /**/ ; // end", {{"a", "b"}}},
        TextCase{"slashes inside a bare key stay", "a//b = c;", {{"a//b", "c"}}},
        TextCase{
            "comment markers inside quotes are text", R"("a" = "/* not */ // kept";)", {{"a", "/* not */ // kept"}}},
        TextCase{"simple escapes", R"("e" = "\n\t\r\"\\\'\a\b\f\v";)", {{"e", "\n\t\r\"\\'\a\b\f\v"}}},
        TextCase{"unknown escape is the character", R"("e" = "\q\ ";)", {{"e", "q "}}},
        TextCase{"unicode escapes", R"("e" = "\U0041\u00e9\U00FC\U20ac";)", {{"e", "Aéü€"}}},
        TextCase{"short unicode escape", R"("e" = "\U41-";)", {{"e", "A-"}}},
        TextCase{"surrogate pair combined", R"("e" = "\UD83D\UDE00";)", {{"e", "\xF0\x9F\x98\x80"}}},
        TextCase{"lone high surrogate", R"("e" = "\UD83Dx";)", {{"e", "\xEF\xBF\xBDx"}}},
        TextCase{"high surrogate before another escape", R"("e" = "\UD83D\n";)", {{"e", "\xEF\xBF\xBD\n"}}},
        TextCase{"lone low surrogate", R"("e" = "\UDE00";)", {{"e", "\xEF\xBF\xBD"}}},
        TextCase{"octal escapes", R"("e" = "\101\0619\7";)", {{"e", "A19\a"}}},
        TextCase{"octal NUL", R"("e" = "a\0b";)", {{"e", std::string("a\0b", 3)}}},
        TextCase{"text over several lines", "\"e\" = \"one\ntwo\";", {{"e", "one\ntwo"}}},
        TextCase{
            "non-ASCII text", "\"TXT_MODEL\" = \"機種\"; \"ü\" = \"Größe\";", {{"TXT_MODEL", "機種"}, {"ü", "Größe"}}},
        TextCase{"empty key and value", R"("" = "";)", {{"", ""}}},
        TextCase{"repeated key: later wins, first place kept", "a = 1; b = 2; a = 3;", {{"a", "3"}, {"b", "2"}}},
        TextCase{"UTF-8 byte-order mark", "\xEF\xBB\xBF\"a\" = \"b\";", {{"a", "b"}}}),
    [](const auto& testCase) { return testing::caseName(testCase.param.name); });

struct MalformedCase {
    const char* name;
    std::string text;
    std::size_t line;
    std::size_t column;
};

void PrintTo(const MalformedCase& c, std::ostream* out) {
    *out << c.name;
}

class StringsTableMalformed : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(StringsTableMalformed, HoldsNoKeysAndSaysWhere) {
    StringsTableResult result = StringsTable::parse(GetParam().text);
    EXPECT_FALSE(result.ok) << GetParam().name;
    EXPECT_TRUE(result.entries.empty()) << GetParam().name;
    EXPECT_FALSE(result.message.empty()) << GetParam().name;
    EXPECT_EQ(result.line, GetParam().line) << GetParam().name << ": " << result.message;
    EXPECT_EQ(result.column, GetParam().column) << GetParam().name << ": " << result.message;
    EXPECT_TRUE(result.objectForKey("a").isAbsent()) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StringsTableMalformed,
    ::testing::Values(MalformedCase{"last semicolon missing", R"("a" = "b")", 1, 10},
                      MalformedCase{"semicolon missing between pairs", "\"a\" = \"b\"\n\"c\" = \"d\";", 1, 10},
                      MalformedCase{"string not closed", R"("a" = "b;)", 1, 7},
                      MalformedCase{"comment not closed", "\"a\" = \"b\";\n  /* open", 2, 3},
                      MalformedCase{"no equals sign", R"("a" "b";)", 1, 5}, MalformedCase{"no key", R"(= "b";)", 1, 1},
                      MalformedCase{"no value", R"("a" = ;)", 1, 7}, MalformedCase{"value cut short", R"("a" =)", 1, 6},
                      MalformedCase{"second error line counted", "\"a\" = \"b\";\n\"c\" = d e;", 2, 9},
                      MalformedCase{"CR LF counts one line", "\"a\" = \"b\";\r\n\r\n  ?", 3, 3},
                      MalformedCase{"columns count characters", "\"äöü\" = \"b\"", 1, 12},
                      MalformedCase{"unicode escape without digits", R"("a" = "x\Uzz";)", 1, 9},
                      MalformedCase{"escape at the end", "\"a\" = \"\\", 1, 8},
                      MalformedCase{"bad UTF-8 byte", "\"a\" = \"\xFF\";", 1, 8},
                      MalformedCase{"overlong UTF-8", "\"a\" = \"\xC0\xAF\";", 1, 8},
                      MalformedCase{"UTF-8 surrogate", "\"a\" = \"\xED\xA0\x80\";", 1, 8},
                      MalformedCase{"UTF-8 cut inside a character", "\"a\" = \"\xE6\x97", 1, 8},
                      MalformedCase{"braces of a full property list", R"({ "a" = "b"; })", 1, 1},
                      MalformedCase{"UTF-16 with an odd byte", std::string("\xFF\xFE\x61\x00\x3B", 5), 1, 2},
                      MalformedCase{"UTF-16 unpaired surrogate", std::string("\xFE\xFF\x00\x61\xD8\x3D\x00\x62", 8), 1,
                                    2}),
    [](const auto& testCase) { return testing::caseName(testCase.param.name); });

const std::string sampleText = "/* Common messages */\n"
                               "\"TXT_MODEL\" = \"機種\";\n"
                               "\"EMOJI\" = \"\xF0\x9F\x93\x96 guide\";\n"
                               "\"APP_MENU_QUIT\" = \"Quit Docshelf\";\n";
const Entries sampleEntries{
    {"TXT_MODEL", "機種"}, {"EMOJI", "\xF0\x9F\x93\x96 guide"}, {"APP_MENU_QUIT", "Quit Docshelf"}};

struct EncodingCase {
    const char* name;
    std::string (*encode)(const std::string&);
};

void PrintTo(const EncodingCase& c, std::ostream* out) {
    *out << c.name;
}

class StringsTableEncoding : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(StringsTableEncoding, DecodesToTheSameEntries) {
    StringsTableResult result = StringsTable::parse(GetParam().encode(sampleText));
    EXPECT_TRUE(result.ok) << GetParam().name << ": " << result.message;
    EXPECT_EQ(result.entries, sampleEntries) << GetParam().name;
}

TEST_P(StringsTableEncoding, ReportsPositionsInDecodedText) {
    StringsTableResult result = StringsTable::parse(GetParam().encode("\"a\" = \"機\";\n\"b\" = \"種\"\n"));
    EXPECT_FALSE(result.ok) << GetParam().name;
    EXPECT_EQ(result.line, 2u) << GetParam().name << ": at the end of the line that lacks its ';'";
    EXPECT_EQ(result.column, 10u) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, StringsTableEncoding,
    ::testing::Values(
        EncodingCase{"utf8", [](const std::string& s) { return s; }},
        EncodingCase{"utf8_bom", [](const std::string& s) { return "\xEF\xBB\xBF" + s; }},
        EncodingCase{"utf16le_bom", [](const std::string& s) { return testing::utf16(s, false, true); }},
        EncodingCase{"utf16be_bom", [](const std::string& s) { return testing::utf16(s, true, true); }},
        EncodingCase{"utf16le_no_bom", [](const std::string& s) { return testing::utf16(s, false, false); }},
        EncodingCase{"utf16be_no_bom", [](const std::string& s) { return testing::utf16(s, true, false); }}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

const Value listRoot = Value::dictionary({
    {"UG_BTN_UG", "User Guide"},
    {"TXT_MODEL", "Modèle"},
    {"COUNT", Value::integer(3)},
    {"UG_BTN_README", "Read Me"},
});
const Entries listEntries{{"UG_BTN_UG", "User Guide"}, {"TXT_MODEL", "Modèle"}, {"UG_BTN_README", "Read Me"}};

class StringsTablePropertyList : public ::testing::TestWithParam<PlistFormat> {};

TEST_P(StringsTablePropertyList, ReadsStringsAndLeavesOutOtherValues) {
    TemporaryDirectory dir;
    PropertyListWriter::writeFile(dir / "Localizable.strings", listRoot, GetParam());
    StringsTableResult result = StringsTable::readFile(dir / "Localizable.strings");
    EXPECT_TRUE(result.ok) << formatName(GetParam()) << ": " << result.message;
    EXPECT_EQ(result.entries, listEntries) << formatName(GetParam());
    EXPECT_EQ(result.objectForKey("TXT_MODEL"), Value("Modèle")) << formatName(GetParam());
    EXPECT_TRUE(result.objectForKey("COUNT").isAbsent()) << formatName(GetParam());
}

TEST_P(StringsTablePropertyList, RootOtherThanDictionaryIsMalformed) {
    StringsTableResult result =
        StringsTable::parse(PropertyListWriter::serialize(Value::array({"a", "b"}), GetParam()));
    EXPECT_FALSE(result.ok) << formatName(GetParam());
    EXPECT_TRUE(result.entries.empty()) << formatName(GetParam());
}

TEST_P(StringsTablePropertyList, CutShortIsMalformed) {
    std::string bytes = PropertyListWriter::serialize(listRoot, GetParam());
    StringsTableResult result = StringsTable::parse(bytes.substr(0, bytes.size() - 12));
    EXPECT_FALSE(result.ok) << formatName(GetParam());
    EXPECT_TRUE(result.entries.empty()) << formatName(GetParam());
    EXPECT_FALSE(result.message.empty()) << formatName(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Formats, StringsTablePropertyList, ::testing::Values(PlistFormat::Xml, PlistFormat::Binary),
                         [](const auto& testCase) { return testing::formatName(testCase.param); });

TEST(StringsTableXml, FoundAfterByteOrderMarkAndSpaceInAnyEncoding) {
    std::string xml = PropertyListWriter::serialize(listRoot, PlistFormat::Xml);
    for (const std::string& bytes :
         {"\xEF\xBB\xBF \n" + xml, "\n\t" + xml, testing::utf16(xml, false, true), testing::utf16(xml, true, true)}) {
        StringsTableResult result = StringsTable::parse(bytes);
        EXPECT_TRUE(result.ok) << result.message;
        EXPECT_EQ(result.entries, listEntries);
    }
}

TEST(StringsTableXml, DoctypeOrPlistTagAloneIsXml) {
    for (const char* start : {"<!DOCTYPE plist>", ""}) {
        std::string text =
            std::string(start) + "<plist version=\"1.0\"><dict><key>a</key><string>b</string></dict></plist>";
        StringsTableResult result = StringsTable::parse(text);
        EXPECT_TRUE(result.ok) << start << ": " << result.message;
        EXPECT_EQ(result.entries, (Entries{{"a", "b"}})) << start;
    }
}

TEST(StringsTableFile, MissingFileAndDirectoryHoldNoKeys) {
    TemporaryDirectory dir;
    dir.makeDirectory("folder.strings");
    for (const std::string& path : {dir / "missing.strings", dir / "folder.strings"}) {
        StringsTableResult result = StringsTable::readFile(path);
        EXPECT_FALSE(result.ok) << path;
        EXPECT_TRUE(result.entries.empty()) << path;
    }
}

TEST(StringsTableFile, ReadsUtf16FileFromDisc) {
    TemporaryDirectory dir;
    dir.write("Localizable.strings", testing::utf16(sampleText, false, true));
    StringsTableResult result = StringsTable::readFile(dir / "Localizable.strings");
    EXPECT_EQ(result.entries, sampleEntries) << result.message;
}

TEST(StringsTableFile, LargerThanTheCapIsRefused) {
    TemporaryDirectory dir;
    std::string big = "\"a\" = \"b\";" + std::string(StringsTable::maximumFileSize, ' ');
    dir.write("big.strings", big);
    EXPECT_FALSE(StringsTable::readFile(dir / "big.strings").ok);
    EXPECT_FALSE(StringsTable::parse(big).ok);
    big.resize(StringsTable::maximumFileSize);
    EXPECT_TRUE(StringsTable::parse(big).ok) << "a file of exactly the cap is read";
}

}
}
