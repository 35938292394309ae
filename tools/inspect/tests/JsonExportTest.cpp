#include "window/session/JsonExport.h"

#include <gtest/gtest.h>

namespace docshelf::inspect {
namespace {

using foundation::Value;

TEST(JsonExport, KeepsDictionaryOrderAndMapsEveryKind) {
    Value v = Value::dictionary({{"z", "last letter first"},
                                 {"a", Value::array({Value::integer(-3), Value::real(0.5), Value::boolean(false)})},
                                 {"when", Value::date(0)},
                                 {"bytes", Value::data({'M', 'a', 'n', 'y'})}});
    EXPECT_EQ(render(toJson(v)), R"({
  "z": "last letter first",
  "a": [
    -3,
    0.5,
    false
  ],
  "when": "2001-01-01T00:00:00Z",
  "bytes": "TWFueQ=="
}
)");
}

TEST(JsonExport, AbsentIsNullAndBadUtf8IsReplacedNotThrown) {
    EXPECT_EQ(render(toJson(Value())), "null\n");
    std::string rendered;
    EXPECT_NO_THROW(rendered = render(toJson(Value("bad \xFF byte"))));
    EXPECT_EQ(rendered, "\"bad \xEF\xBF\xBD byte\"\n");
    EXPECT_EQ(render(toJson(Value("\"quote\" \\ \n"))), "\"\\\"quote\\\" \\\\ \\n\"\n");
}

}
}
