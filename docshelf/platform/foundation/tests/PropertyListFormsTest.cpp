#include "platform/foundation/Dictionary.h"
#include "platform/foundation/PropertyListLookup.h"
#include "platform/foundation/PropertyListReader.h"
#include "platform/foundation/ReadLimits.h"

#include "PropertyListForms.h"
#include "TemporaryDirectory.h"
#include "TextEncoding.h"

#include <gtest/gtest.h>

namespace docshelf::foundation {
namespace {

using testing::ListForm;
using testing::TemporaryDirectory;

std::span<const std::uint8_t> bytesOf(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// What the disc's lists hold, and what the old-style form cannot get wrong
// without showing it: quotes, backslashes, line breaks, text past ASCII and
// past the first plane, empty strings, data, nesting.
Value discLike() {
    return Value::dictionary({
        {"ContainedModel",
         Value::dictionary(
             {{"QX-750 Duo",
               Value::dictionary({{"Documentation", Value::dictionary({{"Path", "/Volumes/ZORVANE/Doc"}})}})},
              {"Grüße \"quoted\" \\ back", "line\nbreak\ttab"}})},
        {"Documentation", Value::dictionary({{"URL", "http://a.example/x.aspx?"},
                                             {"Language", Value::array({"English", "日本語", "😀", ""})}})},
        {"Blob", Value::data({0, 1, 0xAB, 0xFF, 7})},
        {"Empty", Value::dictionary({})},
        {"None", Value::array({})},
    });
}

class ListForms : public ::testing::TestWithParam<ListForm> {};

TEST_P(ListForms, ReadAsTheXmlFormWithTheSameAnswers) {
    const char* name = testing::listFormName(GetParam());
    TemporaryDirectory dir;
    dir.write("CDInfo.plist", testing::writeInForm(discLike(), GetParam()));

    PropertyListResult read = PropertyListReader::readFile(dir / "CDInfo.plist");
    EXPECT_EQ(read.error, "") << name;
    EXPECT_EQ(read.root, discLike()) << name;
    EXPECT_EQ(read.form.empty(), GetParam() == ListForm::Xml) << name << ": form \"" << read.form << "\"";
    EXPECT_EQ(Dictionary::dictionaryWithContentsOfFile(dir / "CDInfo.plist"), discLike()) << name;

    std::vector<KeyPath> questions{{{"ContainedModel", "QX-750 Duo", "Documentation", "Path"}},
                                   {{"Documentation", "Language"}},
                                   {{"ContainedModel"}, true},
                                   {{"Missing"}}};
    KeyPathAnswers answers = PropertyListLookup::readFile(dir / "CDInfo.plist", questions);
    ASSERT_EQ(answers.values.size(), questions.size()) << name;
    EXPECT_EQ(answers.values[0], Value("/Volumes/ZORVANE/Doc")) << name;
    EXPECT_EQ(answers.values[1], discLike().objectForKey("Documentation").objectForKey("Language")) << name;
    EXPECT_EQ(answers.values[2], discLike().objectForKey("ContainedModel").allKeys()) << name;
    EXPECT_TRUE(answers.values[3].isAbsent()) << name;
}

TEST_P(ListForms, CutShortIsAbsentWithAMessage) {
    const char* name = testing::listFormName(GetParam());
    std::string whole = testing::writeInForm(discLike(), GetParam());
    // Cut in the middle of the ContainedModel dictionary, on a whole UTF-16 unit.
    std::string part = whole.substr(0, whole.size() / 4 * 2);
    PropertyListResult read = PropertyListReader::parse(bytesOf(part));
    EXPECT_TRUE(read.root.isAbsent()) << name;
    EXPECT_NE(read.error, "") << name;
    EXPECT_TRUE(PropertyListLookup::lookUp(bytesOf(part), std::vector<KeyPath>{{{"Blob"}}}).values.at(0).isAbsent())
        << name;
}

INSTANTIATE_TEST_SUITE_P(Forms, ListForms, ::testing::ValuesIn(testing::allListForms()),
                         [](const auto& testCase) { return std::string(testing::listFormName(testCase.param)); });

std::string nested(std::size_t levels) {
    return std::string(levels, '(') + std::string(levels, ')');
}

std::string array(std::size_t elements) {
    std::string text = "(";
    for (std::size_t i = 0; i < elements; ++i)
        text += i ? ",a" : "a";
    return text + ")";
}

struct TextCase {
    const char* name;
    std::string bytes;
    std::string error; // a part of the message, or "" when the list reads
    std::size_t position = ReadOutcome::noPosition;
};

class TextForms : public ::testing::TestWithParam<TextCase> {};

TEST_P(TextForms, ReadOrSayWhatTheyFound) {
    const TextCase& c = GetParam();
    PropertyListResult read = PropertyListReader::parse(bytesOf(c.bytes));
    if (c.error.empty()) {
        EXPECT_EQ(read.error, "") << c.name;
        EXPECT_FALSE(read.root.isAbsent()) << c.name;
        return;
    }
    EXPECT_TRUE(read.root.isAbsent()) << c.name;
    EXPECT_NE(read.error.find(c.error), std::string::npos) << c.name << ": " << read.error;
    if (c.position != ReadOutcome::noPosition) {
        EXPECT_EQ(read.position, c.position) << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextForms,
    ::testing::Values(
        TextCase{"utf16_without_mark_or_declaration", testing::utf16("{ a = b; }", false, false),
                 "UTF-16 text without a byte-order mark or an XML declaration", 0},
        TextCase{"utf16_unpaired_surrogate", std::string("\xFE\xFF\0{\xD8\x00\0}", 8), "unpaired surrogate"},
        TextCase{"latin1_old_style", "{ a = \"caf\xE9\"; }", "not UTF-8", 10},
        TextCase{"missing_semicolon_names_the_line", "{\n a = b;\n c = d\n}", "expected ';' after the value on line 3"},
        TextCase{"unclosed_comment", "{ a = b; } /* open", "comment not closed"},
        TextCase{"text_after_the_value", "{ a = b; } c", "text after the property list's value", 11},
        TextCase{"odd_data", "{ a = <abc>; }", "odd number of hexadecimal digits"},
        TextCase{"key_that_is_a_dictionary", "{ {} = b; }", "expected a key"},
        TextCase{"only_a_comment", "// nothing\n", "no value"},
        TextCase{"xml_text_after_plist", "<plist><dict/></plist>x", "text after </plist>"},
        TextCase{"old_style_in_utf16_position", testing::utf16("{ a = b } ", false, true),
                 "expected ';' after the value", 18},
        TextCase{"deepest_nesting_read", nested(ReadLimits::maximumNesting), ""},
        TextCase{"nesting_one_too_deep", nested(ReadLimits::maximumNesting + 1), "nested deeper than 128 levels"},
        TextCase{"most_values_read", array(ReadLimits::maximumValues - 1), ""},
        TextCase{"one_value_too_many", array(ReadLimits::maximumValues), "more than 262144 values"},
        TextCase{"strings_table_shorthand", "a; \"b\" = c;", ""}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

}
}
