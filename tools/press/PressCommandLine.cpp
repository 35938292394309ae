#include "PressCommandLine.h"

#include "ModelsTable.h"

#include "inspect/common/Codes.h"

#include <algorithm>

namespace docshelf::press {

const char* const pressUsage =
    "usage: docshelf-press init --models FILE --manuals DIR --setup PROGRAM --out DISC [options]\n"
    "       docshelf-press image DISC [--out IMAGE] [--force] [--replace]\n"
    "       docshelf-press [COMMAND] --version\n"
    "       docshelf-press [COMMAND] --help\n"
    "An option's value follows it (--out DISC) or joins it with = (--out=DISC);\n"
    "FILE may be - for standard input.\n"
    "\n"
    "init writes the disc folder DISC (its name is the volume name) and checks it:\n"
    "  --models FILE            the models table (CSV: Model,KPSID,Documentation,URL,Languages)\n"
    "  --manuals DIR            the folder that holds the documentation folders\n"
    "  --setup PROGRAM          what Windows/setup.exe opens, e.g. ReadMe.txt\n"
    "  --setup-arguments TEXT   its arguments\n"
    "  --documentation FOLDER   disc-wide documentation folder, for rows that give none\n"
    "  --url URL                disc-wide first part of the online address\n"
    "  --online-languages LIST  disc-wide online languages, e.g. \"English;German\"\n"
    "  --language-table FILE    languages (Folder Name,Display Name,KPS Code) instead of the built-in table\n"
    "  --localizations DIR      a folder of further *.lproj for the message bundle (repeatable)\n"
    "  --leave-out LPROJ        leave the template's localization out, e.g. it.lproj (repeatable)\n"
    "  --windows-file PATH      a file or folder put into the Windows folder (repeatable)\n"
    "  --app BUNDLE             the application bundle (default: the one that came with the press)\n"
    "  --message-template DIR   the message bundle to start from (default: the one that came with the press)\n"
    "  --windows-programs DIR   where Startwick.exe and Vendpost.exe are (default: those that came with the press)\n"
    "  --binary                 binary property lists\n"
    "  --replace                replace an existing DISC\n"
    "  --force                  write DISC even when the check finds errors\n"
    "  --follow-outside-links   copy what links leading out of the named folders point to\n"
    "image presses DISC into IMAGE (default DISC.iso), reads it back and checks it:\n"
    "  --force                  press even when the check finds errors\n"
    "  --replace                replace an existing IMAGE\n"
    "both:\n"
    "  --format FORMAT          the check's findings as text, json, sarif or github (as docshelf-inspect check)\n"
    "  --strict                 warnings fail the exit status too\n"
    "  --ignore CODE            leave out the findings of a code (repeatable)\n"
    "  --time-limit SECONDS     longest wait for each outside program (default 600)\n";

namespace {

std::string setFormat(FindingsChoice& findings, const std::string& format) {
    const std::pair<const char*, inspect::OutputFormat> formats[]{{"text", inspect::OutputFormat::Text},
                                                                  {"json", inspect::OutputFormat::Json},
                                                                  {"sarif", inspect::OutputFormat::Sarif},
                                                                  {"github", inspect::OutputFormat::Github}};
    auto known = std::find_if(std::begin(formats), std::end(formats), [&](const auto& f) { return format == f.first; });
    if (known == std::end(formats))
        return "--format takes text, json, sarif or github, not \"" + format + "\"";
    findings.format = known->second;
    return {};
}

std::string setLimit(std::chrono::seconds& init, std::chrono::seconds& image, const std::string& limit) {
    std::size_t end = 0;
    long seconds = 0;
    try {
        seconds = std::stol(limit, &end);
    } catch (...) {
        end = 0;
    }
    if (end != limit.size() || seconds <= 0)
        return "--time-limit takes a number of seconds, not \"" + limit + "\"";
    init = image = std::chrono::seconds(seconds);
    return {};
}

}

cli::OptionParser pressCommandLineParser(PressCommandLine& result) {
    InitOptions& i = result.init;
    ImageOptions& m = result.image;
    cli::OptionParser parser("docshelf-press", {"init", "image"});
    parser.value("--models", "init", i.models)
        .value("--manuals", "init", i.manuals)
        .value("--out", "init", i.out)
        .value("--setup", "init", i.setup)
        .value("--setup-arguments", "init", i.setupArguments)
        .value("--documentation", "init", i.discWide.documentation)
        .value("--url", "init", i.discWide.url)
        .value("--online-languages", "init",
               [&](const std::string& v) {
                   i.discWide.languages = ModelsTable::splitLanguages(v);
                   return std::string();
               })
        .value("--language-table", "init", i.languageTable)
        .list("--localizations", "init", i.localizations)
        .list("--leave-out", "init", i.leftOut)
        .list("--windows-file", "init", i.windowsFiles)
        .value("--app", "init", i.app)
        .value("--message-template", "init", i.messageTemplate)
        .value("--windows-programs", "init", i.windowsPrograms)
        .flag("--binary", "init", i.binary)
        .flag("--replace", "init", i.replace)
        .flag("--force", "init", i.force)
        .flag("--follow-outside-links", "init", i.followOutsideLinks)
        .value("--out", "image", m.image)
        .flag("--replace", "image", m.replace)
        .flag("--force", "image", m.force)
        .value("--format", "init image", [&](const std::string& v) { return setFormat(result.findings, v); })
        .flag("--strict", "init image", result.findings.strict)
        .list("--ignore", "init image",
              [&](const std::string& v) {
                  if (!inspect::Codes::find(v))
                      return "--ignore: no finding has the code \"" + v + "\"";
                  result.findings.ignored.push_back(v);
                  return std::string();
              })
        .value("--time-limit", "init image", [&](const std::string& v) { return setLimit(i.limit, m.limit, v); });
    return parser;
}

PressCommandLine parsePressCommandLine(const std::vector<std::string>& arguments, PressCommandLine defaults) {
    PressCommandLine result = std::move(defaults);
    auto parser = pressCommandLineParser(result);
    cli::ParsedLine line = parser.parse(arguments);
    if (line.help || line.version) {
        result.command = line.help ? "help" : "version";
        return result;
    }
    result.command = line.command;
    auto wrong = [&](std::string error) {
        line.error = std::move(error);
        result.error = line.error;
        result.usageError = parser.usageError(line);
        return result;
    };
    if (!line.error.empty())
        return wrong(line.error);
    const std::vector<std::string>& positional = line.operands;
    if (result.command == "init") {
        if (!positional.empty())
            return wrong("init takes no argument \"" + positional[0] + "\"");
        if (result.init.models.empty() || result.init.manuals.empty() || result.init.out.empty())
            return wrong("init needs --models, --manuals and --out");
        return result;
    }
    ImageOptions& m = result.image;
    if (positional.size() != 1)
        return wrong("image takes one disc folder");
    m.disc = positional[0];
    if (m.image.empty()) {
        std::string disc = m.disc;
        while (disc.size() > 1 && disc.ends_with('/'))
            disc.pop_back();
        m.image = disc + ".iso";
    }
    return result;
}

}
