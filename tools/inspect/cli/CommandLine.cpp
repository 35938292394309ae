#include "inspect/cli/CommandLine.h"

#include "inspect/common/Codes.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace docshelf::inspect {

const char* const usage =
    "usage: docshelf-inspect catalogue DISC|--app BUNDLE [--model NAME]\n"
    "       docshelf-inspect lookup DISC|--app BUNDLE --model NAME --language DISPLAYNAME\n"
    "       docshelf-inspect window DISC|--app BUNDLE [--message-bundle PATH] [--reader PATH] [--do STEP]...\n"
    "       docshelf-inspect check DISC|--app BUNDLE [--message-bundle PATH] [--windows DIR]\n"
    "                              [--format text|json|sarif|github] [--strict] [--ignore CODE]...\n"
    "       docshelf-inspect render DISC|--app BUNDLE --out DIR [--message-bundle PATH] [--model NAME]\n"
    "                              [--language DISPLAYNAME] [--format FORMAT] [--strict] [--ignore CODE]...\n"
    "       docshelf-inspect diff OLD NEW [--format text|json]\n"
    "       docshelf-inspect --explain CODE\n"
    "       docshelf-inspect --version\n"
    "       docshelf-inspect [COMMAND] --help\n"
    "Every command also takes --volume /Volumes/NAME=DIR (repeatable).\n"
    "\n"
    "Shows what the documentation browser makes of a disc (catalogue, lookup and window\n"
    "as JSON) and what the programs would silently pass over (check).\n"
    "  catalogue  the CD information and every listed model's documentation,\n"
    "             or with --model the documentation of that one model\n"
    "  lookup     the document, read-me and online address of one model and language\n"
    "  window     the window after start-up and after each STEP:\n"
    "             model:NAME, language:NAME, press:documentation, press:readme,\n"
    "             press:close, close-window\n"
    "  check      every fault the programs would silently pass over, one line each\n"
    "             (FILE[:LINE]: severity: [key path] message [code]), or with\n"
    "             --format json (--json) one array, sarif a SARIF 2.1.0 log, github\n"
    "             GitHub workflow annotations; --strict fails on warnings too,\n"
    "             --ignore CODE leaves a code out, --explain CODE says what it means;\n"
    "             --windows DIR also checks the disc's Windows folder.\n"
    "             Exit status 0 without errors, 1 with errors, 2 for a wrong command line\n"
    "  render     a PNG picture of the real window for every model and language in\n"
    "             each localization, and DIR/index.html showing them all; texts that\n"
    "             do not fit are findings as in check (text-does-not-fit). At most 1000\n"
    "             pictures a run: --model and --language choose the windows drawn.\n"
    "             Needs a display: without one, run it as xvfb-run docshelf-inspect render ...\n"
    "             Exit status 0 without errors, 1 with errors, 2 for a wrong command\n"
    "             line or no display\n"
    "  diff       what the users of disc NEW see differently from disc OLD (both\n"
    "             folders): models added or removed, each model's languages, the\n"
    "             documents, read-mes and addresses they open, the texts of each\n"
    "             localization, the Windows folder's launchers. Exit status 0 when\n"
    "             the discs agree, 1 when they differ, 2 when one cannot be read\n"
    "DISC is the disc's folder: the application bundle, MacResources/CDCommonMessage.bundle\n"
    "and Windows are found in it, and --app, --message-bundle and --windows override them.\n"
    "BUNDLE is the application bundle directory (Docshelf.app).\n"
    "The lists name their files as a Mac mounts the disc, /Volumes/NAME/...; they are read\n"
    "from the folder --volume gives, else from DISC, else from the folder holding BUNDLE.\n";

namespace {

struct Option {
    std::string_view name;
    std::optional<std::string> CommandLine::*single;
};

constexpr std::array<Option, 7> singleOptions{{
    {"--model", &CommandLine::model},
    {"--language", &CommandLine::language},
    {"--message-bundle", &CommandLine::messageBundle},
    {"--reader", &CommandLine::reader},
    {"--windows", &CommandLine::windows},
    {"--out", &CommandLine::out},
    {"--app", nullptr},
}};

bool findingOption(std::string_view option) {
    return option == "--format" || option == "--strict" || option == "--ignore";
}

bool allowed(std::string_view command, std::string_view option) {
    if (option == "--app" || option == "--volume")
        return command != "diff";
    if (command == "catalogue")
        return option == "--model";
    if (command == "lookup")
        return option == "--model" || option == "--language";
    if (command == "check")
        return option == "--message-bundle" || option == "--windows" || option == "--json" || findingOption(option);
    if (command == "diff")
        return option == "--format";
    if (command == "render")
        return option == "--message-bundle" || option == "--out" || option == "--model" || option == "--language" ||
               findingOption(option);
    return option == "--message-bundle" || option == "--reader" || option == "--do";
}

bool validStep(std::string_view step) {
    for (std::string_view prefix : {"model:", "language:"})
        if (step.starts_with(prefix))
            return true;
    return step == "press:documentation" || step == "press:readme" || step == "press:close" || step == "close-window";
}

// "/Volumes/ZORVANE=/home/a/draft" → {"/Volumes/ZORVANE", "/home/a/draft"}.
std::optional<std::pair<std::string, std::string>> volumeMapping(const std::string& value) {
    constexpr std::string_view volumes = "/Volumes/";
    auto equals = value.find('=');
    if (equals == std::string::npos || !value.starts_with(volumes) || equals == volumes.size() ||
        equals + 1 == value.size())
        return std::nullopt;
    std::string volume = value.substr(0, equals);
    if (volume.find('/', volumes.size()) != std::string::npos)
        return std::nullopt;
    return std::pair(volume, value.substr(equals + 1));
}

}

CommandLineResult parseCommandLine(const std::vector<std::string>& arguments) {
    if (arguments.empty())
        return {std::nullopt, "no command given"};
    CommandLine result;
    result.command = arguments[0];
    // --help asks for the usage whatever else the line holds.
    if (std::any_of(arguments.begin(), arguments.end(),
                    [](const std::string& a) { return a == "--help" || a == "-h"; }) ||
        result.command == "help") {
        result.command = "help";
        return {result, {}};
    }
    if (result.command == "--version" && arguments.size() == 1) {
        result.command = "version";
        return {result, {}};
    }
    if (result.command == "--explain") {
        if (arguments.size() != 2)
            return {std::nullopt, "--explain takes one code"};
        if (!Codes::find(arguments[1]))
            return {std::nullopt, "unknown code '" + arguments[1] + "'"};
        result.command = "explain";
        result.explain = arguments[1];
        return {result, {}};
    }
    if (result.command != "catalogue" && result.command != "lookup" && result.command != "window" &&
        result.command != "check" && result.command != "render" && result.command != "diff")
        return {std::nullopt, "unknown command '" + result.command + "'"};

    bool haveApp = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (!option.starts_with("--")) {
            if (result.command == "diff" && result.disc && !result.other) {
                result.other = option;
                continue;
            }
            if (result.disc)
                return {std::nullopt, "unexpected argument '" + option + "'"};
            result.disc = option;
            continue;
        }
        if (!allowed(result.command, option) ||
            (option != "--do" && option != "--json" && option != "--volume" && !findingOption(option) &&
             std::none_of(singleOptions.begin(), singleOptions.end(),
                          [&](const Option& o) { return o.name == option; })))
            return {std::nullopt, "option " + option + " does not go with " + result.command};
        if (option == "--json") {
            result.json = true;
            result.format = OutputFormat::Json;
            continue;
        }
        if (option == "--strict") {
            result.strict = true;
            continue;
        }
        if (i + 1 >= arguments.size())
            return {std::nullopt, "option " + option + " needs a value"};
        const std::string& value = arguments[++i];
        if (option == "--format") {
            const std::pair<const char*, OutputFormat> formats[]{{"text", OutputFormat::Text},
                                                                 {"json", OutputFormat::Json},
                                                                 {"sarif", OutputFormat::Sarif},
                                                                 {"github", OutputFormat::Github}};
            auto known =
                std::find_if(std::begin(formats), std::end(formats), [&](const auto& f) { return value == f.first; });
            if (known == std::end(formats) || (result.command == "diff" && known->second != OutputFormat::Text &&
                                               known->second != OutputFormat::Json))
                return {std::nullopt, "diff's --format takes text or json, not '" + value + "'"};
            if (known == std::end(formats))
                return {std::nullopt, "--format takes text, json, sarif or github, not '" + value + "'"};
            result.format = known->second;
            result.json = result.format == OutputFormat::Json;
            continue;
        }
        if (option == "--ignore") {
            if (!Codes::find(value))
                return {std::nullopt, "unknown code '" + value + "'"};
            result.ignored.push_back(value);
            continue;
        }
        if (option == "--volume") {
            auto mapping = volumeMapping(value);
            if (!mapping)
                return {std::nullopt, "--volume takes /Volumes/NAME=DIR, not '" + value + "'"};
            result.volumes.push_back(*mapping);
            continue;
        }
        if (option == "--do") {
            if (!validStep(value))
                return {std::nullopt, "unknown step '" + value + "'"};
            result.steps.push_back(value);
            continue;
        }
        if (option == "--app") {
            if (haveApp)
                return {std::nullopt, "option --app given twice"};
            haveApp = true;
            result.app = value;
            continue;
        }
        for (const Option& o : singleOptions) {
            if (o.name != option || !o.single)
                continue;
            if (result.*o.single)
                return {std::nullopt, "option " + option + " given twice"};
            result.*o.single = value;
        }
    }
    if (result.command == "diff" && !result.other)
        return {std::nullopt, "diff needs two discs: OLD NEW"};
    if (!haveApp && !result.disc)
        return {std::nullopt, "a disc folder or option --app is required"};
    if (result.command == "lookup" && (!result.model || !result.language))
        return {std::nullopt, "lookup needs --model and --language"};
    if (result.command == "render" && !result.out)
        return {std::nullopt, "render needs --out DIR"};
    return {result, {}};
}

}
