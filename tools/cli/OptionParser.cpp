#include "cli/OptionParser.h"

#include <algorithm>
#include <set>
#include <sstream>

namespace docshelf::cli {

OptionParser::OptionParser(std::string program, std::vector<std::string> commands)
    : program_(std::move(program)), commands_(std::move(commands)) {}

OptionParser& OptionParser::declare(std::string name, std::string commands, bool takesValue, bool repeatable,
                                    Setter set) {
    Option option{std::move(name), {}, takesValue, repeatable, std::move(set)};
    std::istringstream words(commands);
    for (std::string command; words >> command;)
        option.commands.push_back(command);
    options_.push_back(std::move(option));
    return *this;
}

OptionParser& OptionParser::flag(std::string name, std::string commands, bool& target) {
    return declare(std::move(name), std::move(commands), false, true, [&target](const std::string&) {
        target = true;
        return std::string();
    });
}

OptionParser& OptionParser::flag(std::string name, std::string commands, std::function<void()> set) {
    return declare(std::move(name), std::move(commands), false, true, [set = std::move(set)](const std::string&) {
        set();
        return std::string();
    });
}

OptionParser& OptionParser::value(std::string name, std::string commands, std::string& target) {
    return value(std::move(name), std::move(commands), [&target](const std::string& v) {
        target = v;
        return std::string();
    });
}

OptionParser& OptionParser::value(std::string name, std::string commands, std::optional<std::string>& target) {
    return value(std::move(name), std::move(commands), [&target](const std::string& v) {
        target = v;
        return std::string();
    });
}

OptionParser& OptionParser::value(std::string name, std::string commands, Setter set) {
    return declare(std::move(name), std::move(commands), true, false, std::move(set));
}

OptionParser& OptionParser::list(std::string name, std::string commands, std::vector<std::string>& target) {
    return list(std::move(name), std::move(commands), [&target](const std::string& v) {
        target.push_back(v);
        return std::string();
    });
}

OptionParser& OptionParser::list(std::string name, std::string commands, Setter set) {
    return declare(std::move(name), std::move(commands), true, true, std::move(set));
}

const OptionParser::Option* OptionParser::find(const std::string& name, const std::string& command, bool& known) const {
    known = false;
    for (const Option& option : options_) {
        if (option.name != name)
            continue;
        known = true;
        if (option.commands.empty() ||
            std::find(option.commands.begin(), option.commands.end(), command) != option.commands.end())
            return &option;
    }
    return nullptr;
}

ParsedLine OptionParser::parse(const std::vector<std::string>& arguments) const {
    ParsedLine line;
    // Help and the version are answered whatever else the line holds.
    for (const std::string& word : arguments) {
        line.help = line.help || word == "--help" || word == "-h";
        line.version = line.version || word == "--version";
    }
    if (!arguments.empty() && arguments[0] == "help")
        line.help = true;
    if (line.help || line.version)
        return line;
    if (arguments.empty()) {
        line.error = "no command given";
        return line;
    }
    line.command = arguments[0];
    if (std::find(commands_.begin(), commands_.end(), line.command) == commands_.end()) {
        line.error = "unknown command '" + line.command + "'";
        line.command.clear();
        return line;
    }
    std::set<const Option*> given;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        if (word == "--" && !optionsEnded) {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || word == "-" || !word.starts_with("-")) {
            line.operands.push_back(word);
            continue;
        }
        std::size_t equals = word.find('=');
        std::string name = word.substr(0, equals);
        bool known = false;
        const Option* option = find(name, line.command, known);
        if (!option) {
            line.error = known ? "option " + name + " does not go with " + line.command : "unknown option " + name;
            return line;
        }
        if (!option->repeatable && !given.insert(option).second) {
            line.error = "option " + name + " given twice";
            return line;
        }
        std::string value;
        if (equals != std::string::npos) {
            if (!option->takesValue) {
                line.error = "option " + name + " takes no value";
                return line;
            }
            value = word.substr(equals + 1);
        } else if (option->takesValue) {
            if (i + 1 >= arguments.size()) {
                line.error = "option " + name + " needs a value";
                return line;
            }
            value = arguments[++i];
        }
        if (std::string refused = option->set(value); !refused.empty()) {
            line.error = refused;
            return line;
        }
    }
    return line;
}

std::vector<std::string> OptionParser::optionsOf(const std::string& command) const {
    std::vector<std::string> names;
    for (const Option& option : options_) {
        bool goes = option.commands.empty() ||
                    std::find(option.commands.begin(), option.commands.end(), command) != option.commands.end();
        if (goes && std::find(names.begin(), names.end(), option.name) == names.end())
            names.push_back(option.name);
    }
    return names;
}

std::string OptionParser::usageError(const ParsedLine& line) const {
    std::string help = line.command.empty() ? program_ + " --help" : program_ + " " + line.command + " --help";
    return program_ + ": " + line.error + "\nTry '" + help + "' for more information.\n";
}

}
