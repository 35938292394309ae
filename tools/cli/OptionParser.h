#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace docshelf::cli {

// What a command line asked for beyond what its options set.
struct ParsedLine {
    std::string command;               // the first word; empty when the line starts with an option
    std::vector<std::string> operands; // the words that are neither options nor their values
    bool help = false;                 // --help or -h anywhere, or the command "help"
    bool version = false;              // --version anywhere
    std::string error;                 // why the line is wrong; empty when it is right
};

// The command-line rules both tools share: COMMAND [OPTION | OPERAND]...;
// --name VALUE and --name=VALUE alike; --help, -h and --version anywhere, even
// after a word that is wrong; "-" an operand or a value (standard input); every
// word after "--" an operand; a single-valued option given twice is an error.
//
// Each option is one declaration naming the commands it goes with (space
// separated; empty for every command) and where its value goes:
//     parser.value("--models", "init", options.models);
// The same name may be declared again for other commands with another meaning.
class OptionParser {
public:
    // Returns why the value is wrong, or an empty string when it is taken.
    using Setter = std::function<std::string(const std::string& value)>;

    OptionParser(std::string program, std::vector<std::string> commands);

    OptionParser& flag(std::string name, std::string commands, bool& target);
    OptionParser& flag(std::string name, std::string commands, std::function<void()> set);
    OptionParser& value(std::string name, std::string commands, std::string& target);
    OptionParser& value(std::string name, std::string commands, std::optional<std::string>& target);
    OptionParser& value(std::string name, std::string commands, Setter set);
    // Repeatable: every value in order.
    OptionParser& list(std::string name, std::string commands, std::vector<std::string>& target);
    OptionParser& list(std::string name, std::string commands, Setter set);

    ParsedLine parse(const std::vector<std::string>& arguments) const;

    // The two lines a usage error prints: "PROGRAM: ERROR" and how to get help.
    std::string usageError(const ParsedLine& line) const;

    const std::vector<std::string>& commands() const { return commands_; }
    // The options that go with the command, in the order declared.
    std::vector<std::string> optionsOf(const std::string& command) const;

private:
    struct Option {
        std::string name;
        std::vector<std::string> commands; // empty: every command
        bool takesValue = false;
        bool repeatable = false;
        Setter set;
    };
    OptionParser& declare(std::string name, std::string commands, bool takesValue, bool repeatable, Setter set);
    const Option* find(const std::string& name, const std::string& command, bool& known) const;

    std::string program_;
    std::vector<std::string> commands_;
    std::vector<Option> options_;
};

}
