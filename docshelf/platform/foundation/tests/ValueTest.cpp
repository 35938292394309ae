#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Value.h"

#include <gtest/gtest.h>

namespace docshelf::foundation {
namespace {

Value sampleDictionary() {
    return Value::dictionary({{"name", "QX-500"}, {"list", Value::array({"a", "b"})}, {"flag", Value::boolean(true)}});
}

// Every operation asked of a value of the wrong kind answers as nil would.
struct WrongKindCase {
    const char* name;
    Value value;
};

class ValueOfWrongKind : public ::testing::TestWithParam<WrongKindCase> {};

TEST_P(ValueOfWrongKind, AnswersAsAbsentForOperationsOfOtherKinds) {
    const Value& v = GetParam().value;
    if (!v.isDictionary()) {
        EXPECT_TRUE(v.objectForKey("name").isAbsent());
        EXPECT_TRUE(v.allKeys().isAbsent());
        EXPECT_TRUE(v.entries().empty());
    }
    if (!v.isArray()) {
        EXPECT_TRUE(v.objectAtIndex(0).isAbsent());
        EXPECT_TRUE(v.elements().empty());
        EXPECT_TRUE(v.sortedCaseInsensitively().isAbsent());
    }
    if (!v.isArray() && !v.isDictionary()) {
        EXPECT_EQ(v.count(), 0u);
    }
    if (!v.isString()) {
        EXPECT_TRUE(v.text().empty());
        EXPECT_FALSE(v.isEqualToString(""));
        EXPECT_FALSE(v.isEqualToString(Value("")));
        EXPECT_FALSE(v.hasSuffix(""));
        EXPECT_FALSE(v.isNonEmptyString());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ValueOfWrongKind,
    ::testing::Values(WrongKindCase{"absent", Value()}, WrongKindCase{"string", Value("x")},
                      WrongKindCase{"integer", Value::integer(7)}, WrongKindCase{"real", Value::real(1.5)},
                      WrongKindCase{"boolean", Value::boolean(true)}, WrongKindCase{"date", Value::date(10)},
                      WrongKindCase{"data", Value::data({1, 2})}, WrongKindCase{"array", Value::array({"a"})},
                      WrongKindCase{"dictionary", sampleDictionary()}),
    [](const auto& testCase) { return testCase.param.name; });

TEST(Value, AbsentChainsThroughLookups) {
    Value absent;
    EXPECT_TRUE(absent.objectForKey("a").objectForKey("b").objectAtIndex(3).isAbsent());
    EXPECT_EQ(absent.objectForKey("list").count(), 0u);
    EXPECT_TRUE(Value(static_cast<const char*>(nullptr)).isAbsent());
}

TEST(Value, DictionaryKeepsOrderAndLaterDuplicateWins) {
    Value dict = Value::dictionary({{"b", "1"}, {"a", "2"}, {"b", "3"}});
    ASSERT_EQ(dict.count(), 2u);
    EXPECT_EQ(dict.entries()[0].first, "b");
    EXPECT_TRUE(dict.objectForKey("b").isEqualToString("3"));
    EXPECT_TRUE(dict.allKeys() == Value::array({"b", "a"}));
}

TEST(Value, ArrayIndexOutOfRangeIsAbsent) {
    Value list = Value::array({"a", "b"});
    EXPECT_TRUE(list.objectAtIndex(1).isEqualToString("b"));
    EXPECT_TRUE(list.objectAtIndex(2).isAbsent());
    EXPECT_TRUE(list.objectAtIndex(static_cast<std::size_t>(-1)).isAbsent());
}

TEST(Value, StringComparisonIsExact) {
    Value s("Deutsch");
    EXPECT_TRUE(s.isEqualToString("Deutsch"));
    EXPECT_FALSE(s.isEqualToString("deutsch"));
    EXPECT_FALSE(Value("").isEqualToString(Value()));
    EXPECT_TRUE(Value("doc.pdf").hasSuffix(".pdf"));
    EXPECT_FALSE(Value("doc.PDF").hasSuffix(".pdf"));
}

TEST(Value, EmptyStringIsPresent) {
    Value empty("");
    EXPECT_FALSE(empty.isAbsent());
    EXPECT_TRUE(empty.isEqualToString(""));
    EXPECT_FALSE(empty.isNonEmptyString());
}

TEST(Value, DeepEquality) {
    EXPECT_EQ(sampleDictionary(), sampleDictionary());
    EXPECT_NE(Value("1"), Value::integer(1));
    EXPECT_NE(Value::array({"a"}), Value::array({"a", "b"}));
    EXPECT_EQ(Value(), Value());
}

TEST(Value, DescriptionsAsFormatsShowThem) {
    EXPECT_EQ(Value().description(), "(null)");
    EXPECT_EQ(Value("text").description(), "text");
    EXPECT_EQ(Value::integer(-12).description(), "-12");
    EXPECT_EQ(Value::boolean(true).description(), "1");
}

TEST(Value, NumbersAndBooleans) {
    EXPECT_TRUE(Value::boolean(true).boolValue());
    EXPECT_FALSE(Value("true").boolValue());
    EXPECT_EQ(Value::real(1e300).integerValue(), 0);
    EXPECT_EQ(Value::integer(3).realValue(), 3.0);
}

TEST(Dictionary, BuildingStopsAtFirstAbsentValue) {
    Dictionary d = Dictionary::withObjectsAndKeys({{"one", "1"}, {"two", Value()}, {"three", "3"}});
    ASSERT_EQ(d.count(), 1u);
    EXPECT_TRUE(d.objectForKey("three").isAbsent());
    EXPECT_TRUE(d.isDictionary());

    Dictionary empty = Dictionary::withObjectsAndKeys({{"one", Value()}});
    EXPECT_TRUE(empty.isDictionary());
    EXPECT_EQ(empty.count(), 0u);
}

TEST(Dictionary, FromValueOfOtherKindIsAbsent) {
    EXPECT_TRUE(Dictionary(Value::array({})).isAbsent());
    EXPECT_TRUE(Dictionary(Value("x")).isAbsent());
    EXPECT_TRUE(Dictionary(sampleDictionary()).isDictionary());
}

TEST(Value, SortIgnoresCaseAndBreaksTiesExactly) {
    Value names = Value::array({"model-9", "Model-10", "alpha", "ALPHA", "Alpha"});
    Value sorted = names.sortedCaseInsensitively();
    EXPECT_EQ(sorted, Value::array({"ALPHA", "Alpha", "alpha", "Model-10", "model-9"}));
    EXPECT_EQ(names.objectAtIndex(0).text(), "model-9") << "sorting must not change the original";
}

}
}

namespace docshelf::foundation {
namespace {

Value freshList() {
    return Value::array({Value(std::string(64, 'a')), Value(std::string(64, 'b'))});
}

Value freshDictionary() {
    return Value::dictionary({{std::string(40, 'k'), Value(std::string(64, 'v'))}});
}

TEST(Value, TemporariesHandBackCopiesThatOutliveThem) {
    std::size_t seen = 0;
    for (const Value& element : freshList().elements())
        seen += element.text().size();
    EXPECT_EQ(seen, 128u);
    for (const auto& [key, value] : freshDictionary().entries())
        EXPECT_EQ(key.size() + value.text().size(), 104u);
}

}
}
