#include "inspect/cli/CommandLine.h"

#include <gtest/gtest.h>

namespace docshelf::inspect {
namespace {

struct BadLine {
    std::vector<std::string> arguments;
    const char* expected; // part of the message
};

class WrongCommandLine : public ::testing::TestWithParam<BadLine> {};

TEST_P(WrongCommandLine, IsRefusedWithAReason) {
    auto result = parseCommandLine(GetParam().arguments);
    std::string line;
    for (const auto& a : GetParam().arguments)
        line += a + " ";
    EXPECT_FALSE(result.commandLine) << line;
    EXPECT_NE(result.error.find(GetParam().expected), std::string::npos) << line << "-> " << result.error;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, WrongCommandLine,
    ::testing::Values(BadLine{{}, "no command"}, BadLine{{"catalog", "--app", "A"}, "unknown command"},
                      BadLine{{"catalogue"}, "--app is required"}, BadLine{{"catalogue", "--app"}, "needs a value"},
                      BadLine{{"catalogue", "--app", "A", "--app", "B"}, "twice"},
                      BadLine{{"catalogue", "--app", "A", "--language", "English"}, "does not go with"},
                      BadLine{{"catalogue", "D", "extra"}, "unexpected argument"},
                      BadLine{{"check", "D", "--volume", "/Volumes/Z"}, "takes /Volumes/NAME=DIR"},
                      BadLine{{"check", "D", "--volume", "/media/Z=/d"}, "takes /Volumes/NAME=DIR"},
                      BadLine{{"lookup", "--app", "A", "--model", "M"}, "needs --model and --language"},
                      BadLine{{"lookup", "--app", "A", "--model", "M", "--model", "N", "--language", "L"}, "twice"},
                      BadLine{{"window", "--app", "A", "--do", "press:nothing"}, "unknown step"},
                      BadLine{{"window", "--app", "A", "--model", "M"}, "does not go with"},
                      BadLine{{"catalogue", "--app", "A", "--frobnicate", "x"}, "does not go with"},
                      BadLine{{"window", "--app", "A", "--windows", "W"}, "does not go with"},
                      BadLine{{"check", "--app", "A", "--model", "M"}, "does not go with"},
                      BadLine{{"check", "--app", "A", "--windows"}, "needs a value"},
                      BadLine{{"render", "--app", "A"}, "render needs --out DIR"},
                      BadLine{{"render", "--app", "A", "--out", "D", "--json"}, "does not go with"}));

TEST(CommandLine, ParsesEachCommand) {
    auto catalogue = parseCommandLine({"catalogue", "--app", "/d/Docshelf.app", "--model", "QX 500"});
    ASSERT_TRUE(catalogue.commandLine);
    EXPECT_EQ(catalogue.commandLine->app, "/d/Docshelf.app");
    EXPECT_EQ(catalogue.commandLine->model, "QX 500");

    auto window = parseCommandLine({"window", "--do", "model:QX-500", "--app", "A", "--reader", "/R.app", "--do",
                                    "press:documentation", "--message-bundle", "/M.bundle"});
    ASSERT_TRUE(window.commandLine) << window.error;
    EXPECT_EQ(window.commandLine->steps, (std::vector<std::string>{"model:QX-500", "press:documentation"}));
    EXPECT_EQ(window.commandLine->reader, "/R.app");
    EXPECT_EQ(window.commandLine->messageBundle, "/M.bundle");

    auto check = parseCommandLine({"check", "--json", "--app", "A", "--windows", "/W", "--message-bundle", "/M"});
    ASSERT_TRUE(check.commandLine) << check.error;
    EXPECT_TRUE(check.commandLine->json);
    EXPECT_EQ(check.commandLine->windows, "/W");
    EXPECT_EQ(check.commandLine->messageBundle, "/M");
    EXPECT_FALSE(parseCommandLine({"check", "--app", "A"}).commandLine->json);

    auto disc = parseCommandLine({"render", "/discs/draft", "--out", "/o", "--volume", "/Volumes/ZORVANE=/discs/draft"});
    ASSERT_TRUE(disc.commandLine) << disc.error;
    EXPECT_EQ(disc.commandLine->disc, "/discs/draft");
    EXPECT_EQ(disc.commandLine->volumes,
              (std::vector<std::pair<std::string, std::string>>{{"/Volumes/ZORVANE", "/discs/draft"}}));

    EXPECT_EQ(parseCommandLine({"--help"}).commandLine->command, "help");
}

}
}
