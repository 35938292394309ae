#include "inspect/cli/CommandLine.h"

#include <gtest/gtest.h>

#include <algorithm>

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
    // Two lines: the error, then how to get help (for the command when there is one).
    const std::string& printed = result.usageError;
    EXPECT_TRUE(printed.starts_with("docshelf-inspect: " + result.error + "\nTry 'docshelf-inspect "))
        << line << printed;
    EXPECT_TRUE(printed.ends_with(" --help' for more information.\n")) << line << printed;
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 2) << line << printed;
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
                      BadLine{{"catalogue", "--app", "A", "--frobnicate", "x"}, "unknown option --frobnicate"},
                      BadLine{{"check", "D", "--strict=yes"}, "takes no value"},
                      BadLine{{"check", "D", "--format=xml"}, "--format takes text, json, sarif or github"},
                      BadLine{{"check", "D", "--ignore=no-such-code"}, "unknown code"},
                      BadLine{{"--explain"}, "takes one code"},
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

    auto disc =
        parseCommandLine({"render", "/discs/draft", "--out", "/o", "--volume", "/Volumes/ZORVANE=/discs/draft"});
    ASSERT_TRUE(disc.commandLine) << disc.error;
    EXPECT_EQ(disc.commandLine->disc, "/discs/draft");
    EXPECT_EQ(disc.commandLine->volumes,
              (std::vector<std::pair<std::string, std::string>>{{"/Volumes/ZORVANE", "/discs/draft"}}));

    auto joined = parseCommandLine({"check", "--app=/d/Docshelf.app", "--format=json", "--ignore=model-without-kpsid"});
    ASSERT_TRUE(joined.commandLine) << joined.error;
    EXPECT_EQ(joined.commandLine->app, "/d/Docshelf.app");
    EXPECT_EQ(joined.commandLine->format, OutputFormat::Json);
    EXPECT_EQ(joined.commandLine->ignored, std::vector<std::string>{"model-without-kpsid"});
}

struct AnsweredLine {
    std::vector<std::string> arguments;
    const char* command; // what is answered instead of running a command
};

class AnsweredCommandLine : public ::testing::TestWithParam<AnsweredLine> {};

// --help, -h and --version are answered after any command, even on a line that
// is otherwise wrong.
TEST_P(AnsweredCommandLine, IsAnsweredWithoutRunning) {
    auto result = parseCommandLine(GetParam().arguments);
    std::string line;
    for (const auto& a : GetParam().arguments)
        line += a + " ";
    ASSERT_TRUE(result.commandLine) << line << "-> " << result.error;
    EXPECT_EQ(result.commandLine->command, GetParam().command) << line;
}

INSTANTIATE_TEST_SUITE_P(Lines, AnsweredCommandLine,
                         ::testing::Values(AnsweredLine{{"--help"}, "help"}, AnsweredLine{{"help"}, "help"},
                                           AnsweredLine{{"render", "D", "-h"}, "help"},
                                           AnsweredLine{{"check", "--bogus", "--help"}, "help"},
                                           AnsweredLine{{"--version"}, "version"},
                                           AnsweredLine{{"check", "--version"}, "version"},
                                           AnsweredLine{{"lookup", "--app", "A", "--version"}, "version"},
                                           AnsweredLine{{"--explain", "model-without-kpsid"}, "explain"}));

}
}
