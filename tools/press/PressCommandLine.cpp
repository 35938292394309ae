#include "PressCommandLine.h"

#include "ModelsTable.h"

#include <functional>
#include <map>

namespace docshelf::press {

const char* const pressUsage =
    "usage: docshelf-press init --models FILE --manuals DIR --setup PROGRAM --out DISC [options]\n"
    "       docshelf-press image DISC [--out IMAGE] [--force] [--replace]\n"
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
    "  --windows-file PATH      a file or folder put into the Windows folder (repeatable)\n"
    "  --app BUNDLE             the application bundle (default: the build's)\n"
    "  --message-template DIR   the message bundle to start from (default: the sample disc's)\n"
    "  --windows-programs DIR   where Startwick.exe and Vendpost.exe are (default: the build's)\n"
    "  --binary                 binary property lists\n"
    "  --replace                replace an existing DISC\n"
    "  --force                  write DISC even when the check finds errors\n"
    "  --follow-outside-links   copy what links leading out of the named folders point to\n"
    "image presses DISC into IMAGE (default DISC.iso), reads it back and checks it:\n"
    "  --force                  press even when the check finds errors\n"
    "  --replace                replace an existing IMAGE\n"
    "both:\n"
    "  --inspector PROGRAM      the docshelf-inspect to check with (default: beside docshelf-press)\n"
    "  --time-limit SECONDS     longest wait for each outside program (default 600)\n";

PressCommandLine parsePressCommandLine(const std::vector<std::string>& arguments, PressCommandLine defaults) {
    PressCommandLine result = std::move(defaults);
    if (arguments.empty()) {
        result.error = "no command";
        return result;
    }
    result.command = arguments[0];
    if (result.command == "help" || result.command == "--help")
        return result;
    const bool init = result.command == "init";
    if (!init && result.command != "image") {
        result.error = "unknown command \"" + result.command + "\"";
        return result;
    }
    InitOptions& i = result.init;
    ImageOptions& m = result.image;
    std::string inspector;
    std::string limit;
    using Setter = std::function<void(const std::string&)>;
    std::map<std::string, Setter> both{{"--inspector", [&](const std::string& v) { inspector = v; }},
                                       {"--time-limit", [&](const std::string& v) { limit = v; }}};
    std::map<std::string, Setter> valued =
        init ? std::map<std::string,
                        Setter>{{"--models", [&](const std::string& v) { i.models = v; }},
                                {"--manuals", [&](const std::string& v) { i.manuals = v; }},
                                {"--out", [&](const std::string& v) { i.out = v; }},
                                {"--setup", [&](const std::string& v) { i.setup = v; }},
                                {"--setup-arguments", [&](const std::string& v) { i.setupArguments = v; }},
                                {"--documentation", [&](const std::string& v) { i.discWide.documentation = v; }},
                                {"--url", [&](const std::string& v) { i.discWide.url = v; }},
                                {"--online-languages",
                                 [&](const std::string& v) { i.discWide.languages = ModelsTable::splitLanguages(v); }},
                                {"--language-table", [&](const std::string& v) { i.languageTable = v; }},
                                {"--localizations", [&](const std::string& v) { i.localizations.push_back(v); }},
                                {"--windows-file", [&](const std::string& v) { i.windowsFiles.push_back(v); }},
                                {"--app", [&](const std::string& v) { i.app = v; }},
                                {"--message-template", [&](const std::string& v) { i.messageTemplate = v; }},
                                {"--windows-programs", [&](const std::string& v) { i.windowsPrograms = v; }}}
             : std::map<std::string, Setter>{{"--out", [&](const std::string& v) { m.image = v; }}};
    std::map<std::string, bool*> flags =
        init ? std::map<std::string, bool*>{{"--binary", &i.binary}, {"--replace", &i.replace}, {"--force", &i.force},
                                            {"--follow-outside-links", &i.followOutsideLinks}}
             : std::map<std::string, bool*>{{"--replace", &m.replace}, {"--force", &m.force}};
    valued.insert(both.begin(), both.end());

    std::vector<std::string> positional;
    for (std::size_t k = 1; k < arguments.size(); ++k) {
        const std::string& word = arguments[k];
        if (auto flag = flags.find(word); flag != flags.end()) {
            *flag->second = true;
        } else if (auto option = valued.find(word); option != valued.end()) {
            if (k + 1 >= arguments.size()) {
                result.error = word + " needs a value";
                return result;
            }
            option->second(arguments[++k]);
        } else if (word.starts_with("--")) {
            result.error = "unknown option " + word + " for " + result.command;
            return result;
        } else {
            positional.push_back(word);
        }
    }
    if (!inspector.empty())
        i.inspector = m.inspector = inspector;
    if (!limit.empty()) {
        std::size_t end = 0;
        long seconds = 0;
        try {
            seconds = std::stol(limit, &end);
        } catch (...) {
            end = 0;
        }
        if (end != limit.size() || seconds <= 0) {
            result.error = "--time-limit takes a number of seconds, not \"" + limit + "\"";
            return result;
        }
        i.limit = m.limit = std::chrono::seconds(seconds);
    }
    if (init) {
        if (!positional.empty())
            result.error = "init takes no argument \"" + positional[0] + "\"";
        else if (i.models.empty() || i.manuals.empty() || i.out.empty())
            result.error = "init needs --models, --manuals and --out";
        return result;
    }
    if (positional.size() != 1) {
        result.error = "image takes one disc folder";
        return result;
    }
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
