#include "PressCommandLine.h"
#include "inspect/cli/CommandLine.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>

namespace docshelf::cli {
namespace {

std::string contentsOf(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// A tool, where its options are declared and the three places that tell users of them.
struct Tool {
    const char* name;
    std::function<std::vector<std::string>(const std::string& command, std::vector<std::string>& commands)> options;
    std::string usage;
    const char* completion; // the bash function that completes it
};

void PrintTo(const Tool& tool, std::ostream* out) {
    *out << tool.name;
}

std::vector<std::string> inspectOptions(const std::string& command, std::vector<std::string>& commands) {
    inspect::CommandLine line;
    auto parser = inspect::commandLineParser(line);
    commands = parser.commands();
    return parser.optionsOf(command);
}

std::vector<std::string> pressOptions(const std::string& command, std::vector<std::string>& commands) {
    press::PressCommandLine line;
    auto parser = press::pressCommandLineParser(line);
    commands = parser.commands();
    return parser.optionsOf(command);
}

// The words between the quotes that follow the marker, with a blank on each side.
std::string quotedAfter(const std::string& text, const std::string& marker) {
    std::size_t begin = text.find(marker);
    if (begin == std::string::npos)
        return {};
    begin += marker.size();
    std::string words = " " + text.substr(begin, text.find('"', begin) - begin) + " ";
    for (char& c : words)
        if (c == '\n')
            c = ' ';
    return words;
}

// What the completion function offers after the command: the options every
// command takes ("local options=") and the command's own ("COMMAND) options+=").
std::string offered(const std::string& completion, const std::string& command) {
    return quotedAfter(completion, "local options=\"") + quotedAfter(completion, " " + command + ") options+=\"");
}

class OptionDocumentation : public ::testing::TestWithParam<Tool> {};

std::string caseName(const ::testing::TestParamInfo<Tool>& tool) {
    std::string name = tool.param.name;
    return name.substr(name.find('-') + 1);
}

// An option declared for a command is in the usage, the manual page and the
// bash completion of that command, so that adding one cannot leave them behind.
TEST_P(OptionDocumentation, EveryOptionIsInTheUsageTheManualAndTheCompletion) {
    const Tool& tool = GetParam();
    std::string manual = contentsOf(std::string(PACKAGING_DIR "/") + tool.name + ".1");
    for (std::size_t at; (at = manual.find("\\-")) != std::string::npos;)
        manual.replace(at, 2, "-");
    std::string completion = contentsOf(PACKAGING_DIR "/docshelf.bash-completion");
    std::size_t begin = completion.find(std::string(tool.completion) + "() {");
    ASSERT_NE(begin, std::string::npos) << tool.name;
    completion = completion.substr(begin, completion.find("\n}\n", begin) - begin);

    std::vector<std::string> commands;
    tool.options("", commands);
    ASSERT_FALSE(commands.empty()) << tool.name;
    for (const std::string& command : commands) {
        std::vector<std::string> options = tool.options(command, commands);
        EXPECT_FALSE(options.empty()) << tool.name << " " << command;
        for (const std::string& option : options) {
            EXPECT_NE(tool.usage.find(option), std::string::npos) << tool.name << " " << command << ": " << option;
            EXPECT_NE(manual.find(option), std::string::npos) << tool.name << ".1: " << option;
            EXPECT_NE(offered(completion, command).find(" " + option + " "), std::string::npos)
                << "completion of " << tool.name << " " << command << ": " << option;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Tools, OptionDocumentation,
                         ::testing::Values(Tool{"docshelf-inspect", inspectOptions, inspect::usage,
                                                "_docshelf_inspect"},
                                           Tool{"docshelf-press", pressOptions, press::pressUsage, "_docshelf_press"}),
                         caseName);

}
}
