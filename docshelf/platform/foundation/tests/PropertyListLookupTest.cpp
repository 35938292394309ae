#include "platform/foundation/PropertyListLookup.h"
#include "platform/foundation/PropertyListReader.h"

#include "CaseName.h"
#include "PropertyListWriter.h"

#include <gtest/gtest.h>

#include <functional>

namespace docshelf::foundation {
namespace {

using testing::PlistFormat;
using testing::PropertyListWriter;

// CDInfo with two models; "QY" is renamed "QX" by the repeated-key cases, in
// the file's bytes, so that the key is there twice in either form.
Value cdInfo() {
    return Value::dictionary({
        {"ContainedModel",
         Value::dictionary({{"QX", Value::dictionary({{"Documentation", Value::dictionary({{"Path", "/first"}})}})},
                            {"QY", Value::dictionary({{"Documentation", Value::dictionary({{"Path", "/last"}})}})}})},
        {"Documentation", Value::dictionary({{"URL", "http://a.example/?"}, {"Language", Value::array({"en"})}})},
        {"Model", Value::array({"QX"})},
    });
}

void renameQY(std::string& bytes) {
    for (std::size_t at = bytes.find("QY"); at != std::string::npos; at = bytes.find("QY", at))
        bytes.replace(at, 2, "QX");
}

struct LookupCase {
    std::string name;
    std::function<void(std::string&)> damage; // changes the written bytes, or null
    KeyPath question;
    Value expected;
};

class Lookups : public ::testing::TestWithParam<std::tuple<LookupCase, PlistFormat>> {};

TEST_P(Lookups, AnswerAsTheWholeTree) {
    const auto& [row, format] = GetParam();
    std::string bytes = PropertyListWriter::serialize(cdInfo(), format);
    if (row.damage)
        row.damage(bytes);
    std::span<const std::uint8_t> list(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());

    Value answer = PropertyListLookup::lookUp(list, std::span(&row.question, 1)).values.at(0);
    EXPECT_EQ(answer, row.expected) << row.name << ", " << formatName(format) << ": " << answer.description();
    Value whole = PropertyListReader::parse(list).root;
    for (const std::string& key : row.question.keys)
        whole = whole.objectForKey(key);
    EXPECT_EQ(answer, row.question.keysOnly ? whole.allKeys() : whole) << row.name << ", " << formatName(format);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Lookups,
    ::testing::Combine(
        ::testing::Values(
            LookupCase{"model record present", nullptr, {{"ContainedModel", "QY", "Documentation", "Path"}}, "/last"},
            LookupCase{"top level dictionary", nullptr, {{"Documentation"}},
                       cdInfo().objectForKey("Documentation")},
            LookupCase{"keys of the models", nullptr, {{"ContainedModel"}, true}, Value::array({"QX", "QY"})},
            LookupCase{"model absent", nullptr, {{"ContainedModel", "QZ"}}, {}},
            LookupCase{"path through an array", nullptr, {{"Model", "QX"}}, {}},
            LookupCase{"path through a string", nullptr, {{"Documentation", "URL", "x"}}, {}},
            LookupCase{"repeated key keeps the last value", renameQY,
                       {{"ContainedModel", "QX", "Documentation", "Path"}}, "/last"},
            LookupCase{"repeated key listed once", renameQY, {{"ContainedModel"}, true}, Value::array({"QX"})},
            LookupCase{"cut short after the record",
                       [](std::string& bytes) { bytes.resize(bytes.size() - 9); },
                       {{"ContainedModel", "QX"}},
                       {}},
            LookupCase{"damaged after the record",
                       [](std::string& bytes) {
                           // XML: a closing tag misspelt; binary: the offset table's last entry past the end.
                           if (auto at = bytes.rfind("</dict>"); bytes.starts_with("<?xml"))
                               bytes.replace(at, 7, "</dixt>");
                           else
                               bytes[bytes.size() - 33] = '\xff';
                       },
                       {{"ContainedModel", "QX"}},
                       {}}),
        ::testing::Values(PlistFormat::Xml, PlistFormat::Binary)),
    [](const auto& testCase) {
        return testing::caseName(std::get<0>(testCase.param).name) + "_" + formatName(std::get<1>(testCase.param));
    });

}
}
