#include "PressCommandLine.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace docshelf::press {
namespace {

struct Line {
    std::vector<std::string> arguments;
    std::string command; // what is run or answered; empty when the line is wrong
    std::string detail;  // the error's words, or the option read ("field=value")
};

std::string joined(const std::vector<std::string>& words) {
    std::string line;
    for (const auto& word : words)
        line += word + " ";
    return line;
}

class PressCommandLineTest : public ::testing::TestWithParam<Line> {};

TEST_P(PressCommandLineTest, ReadsAsItShould) {
    const Line& c = GetParam();
    std::string line = joined(c.arguments);
    auto result = parsePressCommandLine(c.arguments, {});
    if (c.command.empty()) {
        EXPECT_NE(result.error.find(c.detail), std::string::npos) << line << "-> " << result.error;
        const std::string& printed = result.usageError;
        EXPECT_TRUE(printed.starts_with("docshelf-press: " + result.error + "\nTry 'docshelf-press "))
            << line << printed;
        EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 2) << line << printed;
        return;
    }
    ASSERT_EQ(result.error, "") << line;
    EXPECT_EQ(result.command, c.command) << line;
    std::string read = c.detail.empty()                  ? ""
                       : c.detail.starts_with("image=")  ? "image=" + result.image.image
                       : c.detail.starts_with("models=") ? "models=" + result.init.models
                       : c.detail.starts_with("localizations=")
                           ? "localizations=" + std::to_string(result.init.localizations.size())
                           : "limit=" + std::to_string(result.image.limit.count());
    EXPECT_EQ(read, c.detail) << line;
}

const std::vector<std::string> init{"init", "--models", "m.csv", "--manuals", "M", "--out", "D"};

std::vector<std::string> initWith(std::vector<std::string> more) {
    std::vector<std::string> line = init;
    line.insert(line.end(), more.begin(), more.end());
    return line;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, PressCommandLineTest,
    ::testing::Values(Line{{"init", "--help"}, "help", ""}, Line{{"image", "-h"}, "help", ""},
                      Line{{"image", "--no-such-option", "--help"}, "help", ""}, Line{{"help"}, "help", ""},
                      Line{{"--version"}, "version", ""}, Line{{"image", "D", "--version"}, "version", ""},
                      Line{{"image", "D/", "--out=X.iso"}, "image", "image=X.iso"},
                      Line{{"image", "D/"}, "image", "image=D.iso"},
                      Line{{"image", "--", "--odd"}, "image", "image=--odd.iso"},
                      Line{{"init", "--models", "-", "--manuals", "M", "--out", "D"}, "init", "models=-"},
                      Line{initWith({"--localizations=A", "--localizations", "B"}), "init", "localizations=2"},
                      Line{{"image", "D", "--time-limit=30"}, "image", "limit=30"}, Line{{}, "", "no command"},
                      Line{{"press"}, "", "unknown command 'press'"},
                      Line{{"image"}, "", "image takes one disc folder"},
                      Line{{"image", "D", "--binary"}, "", "option --binary does not go with image"},
                      Line{initWith({"--binary=yes"}), "", "option --binary takes no value"},
                      Line{initWith({"--out", "E"}), "", "option --out given twice"},
                      Line{initWith({"--time-limit", "soon"}), "", "--time-limit takes a number of seconds"},
                      Line{{"init", "--models", "m.csv"}, "", "init needs --models, --manuals and --out"},
                      Line{initWith({"--setup"}), "", "option --setup needs a value"}));

}
}
