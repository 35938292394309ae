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
    "       docshelf-inspect [COMMAND] --version\n"
    "       docshelf-inspect [COMMAND] --help\n"
    "Every command also takes --volume /Volumes/NAME=DIR (repeatable). An option's\n"
    "value follows it (--format json) or joins it with = (--format=json).\n"
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
    "  diff       what the users of disc NEW see differently from disc OLD (each a\n"
    "             folder or an image): models added or removed, each model's languages, the\n"
    "             documents, read-mes and addresses they open, the texts of each\n"
    "             localization, the Windows folder's launchers. Exit status 0 when\n"
    "             the discs agree, 1 when they differ, 2 when one cannot be read\n"
    "DISC is the disc's folder: the application bundle, MacResources/CDCommonMessage.bundle\n"
    "and Windows are found in it, and --app, --message-bundle and --windows override them.\n"
    "BUNDLE is the application bundle directory (Docshelf.app).\n"
    "The lists name their files as a Mac mounts the disc, /Volumes/NAME/...; they are read\n"
    "from the folder --volume gives, else from DISC, else from the folder holding BUNDLE.\n";

namespace {

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

std::string setFormat(CommandLine& result, const std::string& value) {
    const std::pair<const char*, OutputFormat> formats[]{{"text", OutputFormat::Text},
                                                         {"json", OutputFormat::Json},
                                                         {"sarif", OutputFormat::Sarif},
                                                         {"github", OutputFormat::Github}};
    auto known = std::find_if(std::begin(formats), std::end(formats), [&](const auto& f) { return value == f.first; });
    if (known == std::end(formats))
        return "--format takes text, json, sarif or github, not '" + value + "'";
    result.format = known->second;
    result.json = result.format == OutputFormat::Json;
    return {};
}

}

cli::OptionParser commandLineParser(CommandLine& result) {
    cli::OptionParser parser("docshelf-inspect", {"catalogue", "lookup", "window", "check", "render", "diff"});
    const char* const findings = "check render";
    parser.value("--app", "", result.app)
        .list("--volume", "",
              [&](const std::string& v) {
                  auto mapping = volumeMapping(v);
                  if (!mapping)
                      return "--volume takes /Volumes/NAME=DIR, not '" + v + "'";
                  result.volumes.push_back(*mapping);
                  return std::string();
              })
        .value("--model", "catalogue lookup render", result.model)
        .value("--language", "lookup render", result.language)
        .value("--message-bundle", "window check render", result.messageBundle)
        .value("--reader", "window", result.reader)
        .value("--windows", "check", result.windows)
        .value("--out", "render", result.out)
        .list("--do", "window",
              [&](const std::string& v) {
                  if (!validStep(v))
                      return "unknown step '" + v + "'";
                  result.steps.push_back(v);
                  return std::string();
              })
        .flag("--json", "check", [&] { setFormat(result, "json"); })
        .value("--format", "check render diff", [&](const std::string& v) { return setFormat(result, v); })
        .flag("--strict", findings, result.strict)
        .list("--ignore", findings, [&](const std::string& v) {
            if (!Codes::find(v))
                return "unknown code '" + v + "'";
            result.ignored.push_back(v);
            return std::string();
        });
    return parser;
}

CommandLineResult parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine result;
    auto parser = commandLineParser(result);
    // --explain CODE stands where a command would.
    if (!arguments.empty() && arguments[0] == "--explain" &&
        std::none_of(arguments.begin(), arguments.end(),
                     [](const std::string& a) { return a == "--help" || a == "-h" || a == "--version"; })) {
        cli::ParsedLine line;
        if (arguments.size() != 2)
            line.error = "--explain takes one code";
        else if (!Codes::find(arguments[1]))
            line.error = "unknown code '" + arguments[1] + "'";
        if (!line.error.empty())
            return {std::nullopt, line.error, parser.usageError(line)};
        result.command = "explain";
        result.explain = arguments[1];
        return {result, {}, ""};
    }
    cli::ParsedLine line = parser.parse(arguments);
    if (line.help || line.version) {
        result.command = line.help ? "help" : "version";
        return {result, {}, ""};
    }
    result.command = line.command;
    auto wrong = [&](std::string error) {
        line.error = std::move(error);
        return CommandLineResult{std::nullopt, line.error, parser.usageError(line)};
    };
    if (!line.error.empty())
        return wrong(line.error);
    if (result.command == "diff") {
        if (line.operands.size() != 2)
            return wrong("diff compares two discs: diff OLD NEW");
        if (result.format != OutputFormat::Text && result.format != OutputFormat::Json)
            return wrong("diff's --format takes text or json");
        if (!result.app.empty() || !result.volumes.empty())
            return wrong("diff reads each disc from its own folder: --app and --volume do not go with it");
        result.disc = line.operands[0];
        result.other = line.operands[1];
        return {result, {}, ""};
    }
    if (line.operands.size() > 1)
        return wrong("unexpected argument '" + line.operands[1] + "'");
    if (!line.operands.empty())
        result.disc = line.operands[0];
    if (result.app.empty() && !result.disc)
        return wrong("a disc folder or option --app is required");
    if (result.command == "lookup" && (!result.model || !result.language))
        return wrong("lookup needs --model and --language");
    if (result.command == "render" && !result.out)
        return wrong("render needs --out DIR");
    return {result, {}, ""};
}

}
