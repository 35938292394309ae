#include "platform/foundation/StringFormat.h"

#include <gtest/gtest.h>

namespace docshelf::foundation {
namespace {

TEST(StringFormat, ReplacesInOrderWithoutEscaping) {
    EXPECT_EQ(stringWithFormat("%@MDL=%@&LNG=%@&SRC=DOC", {"http://s/?", "X1", "en"}).text(),
              "http://s/?MDL=X1&LNG=en&SRC=DOC");
    EXPECT_EQ(stringWithFormat("open \"%@\"", {"/a b/\"$`\\"}).text(), "open \"/a b/\"$`\\\"");
    EXPECT_EQ(stringWithFormat("%@: ", {"Modell"}).text(), "Modell: ");
}

TEST(StringFormat, EdgeCases) {
    EXPECT_EQ(stringWithFormat("%@/%@", {"/d/", "x"}).text(), "/d//x");
    EXPECT_EQ(stringWithFormat("%@", {Value()}).text(), "(null)");
    EXPECT_EQ(stringWithFormat("%@ and %@", {"one"}).text(), "one and ");
    EXPECT_EQ(stringWithFormat("100%% %d %", {}).text(), "100% %d %");
    EXPECT_EQ(stringWithFormat("%@", {"%@"}).text(), "%@") << "arguments are not formats";
}

}
}
