#include "InitCommand.h"

#include "DiscCheckRun.h"
#include "DiscSources.h"
#include "FileTree.h"
#include "ImageNames.h"
#include "OutputPlace.h"
#include "PrintedName.h"
#include "StagingFolder.h"

#include "platform/foundation/PropertyListReader.h"
#include "platform/foundation/PropertyListWriter.h"

#include <cerrno>
#include <filesystem>
#include <fstream>

namespace docshelf::press {

using foundation::PropertyListFormat;
using foundation::PropertyListReader;
using foundation::PropertyListWriter;
using foundation::Value;
namespace fs = std::filesystem;

namespace {

// The name the browser looks for its texts under: /Volumes/ZORVANE/MacResources/CDCommonMessage.bundle.
constexpr const char* browserVolume = "ZORVANE";

std::string inQuotes(const std::string& text) {
    return "\"" + text + "\"";
}

std::string volumeFault(const std::string& volume) {
    if (volume.empty() || volume.size() > 32)
        return "the disc folder's name is its volume name, 1 to 32 characters; " + inQuotes(volume) + " is not";
    for (char c : volume)
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-'))
            return "the disc folder's name is its volume name, letters, digits, \"_\" and \"-\"; " + inQuotes(volume) +
                   " is not";
    return "";
}

bool isDirectory(const std::string& path) {
    std::error_code code;
    return fs::is_directory(path, code);
}

bool isFile(const fs::path& path) {
    std::error_code code;
    return fs::is_regular_file(path, code);
}

std::vector<fs::path> localizationsIn(const fs::path& folder) {
    std::vector<fs::path> found;
    std::error_code code;
    for (const auto& entry : fs::directory_iterator(folder, code))
        if (entry.is_directory(code) && entry.path().extension() == ".lproj")
            found.push_back(entry.path());
    return found;
}

// "it" or "it.lproj": the template's folder "it.lproj".
std::string lprojName(const std::string& name) {
    return name.ends_with(".lproj") ? name : name + ".lproj";
}

// "PATH: cannot be written: No space left on device", the cause when the system gave one.
std::string unwritten(const fs::path& path, int number) {
    return PrintedName::of(path.string()) + ": cannot be written" +
           (number != 0 ? ": " + std::generic_category().message(number) : "");
}

bool writeText(const fs::path& path, const std::string& text, std::string& error) {
    errno = 0;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    file.close();
    if (!file) {
        error = unwritten(path, errno);
        return false;
    }
    return true;
}

// Files readable by all and folders open to all, the application's executable
// executable, whatever the sources' modes were: the image keeps them.
void normalizeModes(const fs::path& root, const fs::path& executable) {
    std::error_code code;
    for (auto it = fs::recursive_directory_iterator(root, code); !code && it != fs::recursive_directory_iterator();
         it.increment(code)) {
        bool folder = it->is_directory(code);
        fs::permissions(it->path(), folder ? fs::perms(0755) : fs::perms(0644), fs::perm_options::replace, code);
    }
    fs::permissions(root, fs::perms(0755), fs::perm_options::replace, code);
    fs::permissions(executable, fs::perms(0755), fs::perm_options::replace, code);
}

struct Writer {
    const InitOptions& options;
    const DiscPlan& plan;
    const LanguageTable& languages;
    const Reporter& reporter;
    DiscSources& sources;
    fs::path disc;
    std::string volume;
    std::string error;

    // Copies what the author named, links confined to `root` (else said why).
    bool copy(const fs::path& from, const fs::path& to, const fs::path& root) {
        std::vector<std::string> warnings;
        bool copied = FileTree::copy(from, to, {{root}, options.followOutsideLinks}, warnings, error);
        for (const auto& line : warnings)
            reporter.warning(line);
        return copied;
    }

    PropertyListFormat format() const { return options.binary ? PropertyListFormat::Binary : PropertyListFormat::Xml; }

    bool list(const std::string& relative, const Value& root) {
        sources.written(relative);
        errno = 0;
        if (!PropertyListWriter::writeFile((disc / relative).string(), root, format())) {
            error = unwritten(disc / relative, errno);
            return false;
        }
        reporter.progress("wrote " + relative);
        return true;
    }

    bool application(fs::path& executable) {
        fs::path app = disc / fs::path(options.app).filename();
        if (!copy(options.app, app, options.app))
            return false;
        sources.copied(app.filename().string(), options.app);
        std::string infoPath = (app / "Contents/Info.plist").string();
        auto info = PropertyListReader::readFile(infoPath);
        if (!info.root.isDictionary()) {
            error = options.app + "/Contents/Info.plist: " + (info.error.empty() ? "no dictionary" : info.error);
            return false;
        }
        std::vector<Value::Entry> entries(info.root.entries().begin(), info.root.entries().end());
        entries.emplace_back("CommonResourcePath", DiscPlan::volumePath(volume, "MacResources/CommonResource.plist"));
        executable = app / "Contents/MacOS" / std::string(info.root.objectForKey("CFBundleExecutable").text());
        if (!isFile(executable)) {
            error = options.app + ": no executable at Contents/MacOS/" + executable.filename().string();
            return false;
        }
        reporter.progress("copied " + options.app + " to " + app.filename().string());
        return list(app.filename().string() + "/Contents/Info.plist", Value::dictionary(std::move(entries))) &&
               list(app.filename().string() + "/Contents/Resources/Documentation.plist",
                    languages.documentationPlist());
    }

    bool messages() {
        fs::path bundle = disc / "MacResources/CDCommonMessage.bundle";
        if (!copy(options.messageTemplate, bundle, options.messageTemplate))
            return false;
        const std::string resources = "MacResources/CDCommonMessage.bundle/Contents/Resources/";
        sources.copied("MacResources/CDCommonMessage.bundle", options.messageTemplate);
        for (const auto& name : options.leftOut) {
            FileTree::remove(bundle / "Contents/Resources" / lprojName(name));
            reporter.progress("left " + lprojName(name) + " of the template off the disc");
        }
        for (const auto& folder : options.localizations)
            for (const auto& localization : localizationsIn(folder)) {
                fs::path target = bundle / "Contents/Resources" / localization.filename();
                if (fs::exists(target))
                    reporter.progress("replaced " + localization.filename().string() + " of the template by " +
                                      localization.string());
                FileTree::remove(target);
                if (!copy(localization, target, folder))
                    return false;
                sources.copied(resources + localization.filename().string(), localization.string());
            }
        reporter.progress("wrote MacResources/CDCommonMessage.bundle");
        return true;
    }

    bool documentation() {
        for (const auto& folder : plan.documentationFolders()) {
            if (!copy(fs::path(options.manuals) / folder, disc / "Documentation" / folder, options.manuals))
                return false;
            sources.copied("Documentation/" + folder, (fs::path(options.manuals) / folder).string());
            reporter.progress("copied Documentation/" + folder);
        }
        return true;
    }

    bool windows() {
        fs::path windows = disc / "Windows";
        std::error_code code;
        fs::create_directories(windows, code);
        // A named folder is the folder its links must stay in; a named file's is the folder it lies in.
        for (const auto& item : options.windowsFiles) {
            fs::path root =
                fs::is_directory(fs::symlink_status(item, code)) ? fs::path(item) : fs::path(item).parent_path();
            if (!copy(item, windows / fs::path(item).filename(), root.empty() ? "." : root))
                return false;
            sources.copied("Windows/" + fs::path(item).filename().string(), item);
        }
        fs::path programs(options.windowsPrograms);
        if (!copy(programs / "Startwick.exe", windows / "setup.exe", programs))
            return false;
        for (const auto& name : plan.suppliesCopies())
            if (!copy(programs / "Vendpost.exe", windows / name, programs))
                return false;
        reporter.progress("wrote Windows/setup.exe and " + std::to_string(plan.suppliesCopies().size()) +
                          " copies of the supplies launcher");
        // Startwick reads the section named after its own file, "setup".
        std::string ini =
            "; setup.exe opens Exeprog with Argv, in this folder.\r\n[setup]\r\nExeprog=" + options.setup +
            "\r\nArgv=" + options.setupArguments + "\r\n";
        for (const char* written : {"Windows", "Windows/setup.exe", "Windows/inst.ini"})
            sources.written(written);
        return writeText(windows / "inst.ini", ini, error) &&
               writeText(disc / "autorun.inf", "[autorun]\r\nopen=Windows\\setup.exe\r\n", error);
    }
};

}

int InitCommand::run(const InitOptions& options, const Reporter& reporter) {
    fs::path out = fs::path(options.out).lexically_normal();
    if (out.filename().empty())
        out = out.parent_path();
    const std::string volume = out.filename().string();
    auto fail = [&](const std::string& line) {
        reporter.error(line);
        return 1;
    };
    if (auto fault = volumeFault(volume); !fault.empty())
        return fail(out.string() + ": " + fault);
    std::vector<NamedInput> inputs{{"--models", options.models},
                                   {"--manuals", options.manuals},
                                   {"--app", options.app},
                                   {"--message-template", options.messageTemplate},
                                   {"--windows-programs", options.windowsPrograms}};
    if (options.languageTable)
        inputs.push_back({"--language-table", *options.languageTable});
    for (const auto& folder : options.localizations)
        inputs.push_back({"--localizations", folder});
    for (const auto& item : options.windowsFiles)
        inputs.push_back({"--windows-file", item});
    if (auto clash = OutputPlace::clash(out, inputs); !clash.empty())
        return fail(clash);
    std::error_code code;
    if (fs::exists(fs::symlink_status(out, code)) && !options.replace)
        return fail(PrintedName::of(out.string()) + " exists; give --replace to replace it");
    if (auto refusal = OutputPlace::unreplaceable(out, OutputPlace::Kind::DiscFolder); !refusal.empty())
        return fail(refusal);
    if (volume != browserVolume)
        reporter.warning("the browser reads its texts from /Volumes/" + std::string(browserVolume) +
                         "/MacResources/CDCommonMessage.bundle; on a disc named " + volume +
                         " its captions show their keys");

    std::string error;
    std::optional<LanguageTable> languages =
        options.languageTable ? LanguageTable::readFile(*options.languageTable, error) : LanguageTable::builtIn();
    if (!languages)
        return fail(error);
    std::vector<std::string> errors;
    auto models = ModelsTable::readFile(options.models, errors);
    if (!isDirectory(options.manuals))
        errors.push_back(options.manuals + ": no folder of manuals here");
    if (!models || !errors.empty()) {
        for (const auto& line : errors)
            reporter.error(line);
        return 1;
    }
    DiscPlan plan = DiscPlan::make(*models, options.manuals, options.discWide, *languages, volume,
                                   options.binary ? PropertyListFormat::Binary : PropertyListFormat::Xml);
    errors = plan.errors();
    if (!isFile(fs::path(options.app) / "Contents/Info.plist"))
        errors.push_back(options.app + ": no application bundle here (build Docshelf, or name one with --app)");
    if (localizationsIn(fs::path(options.messageTemplate) / "Contents/Resources").empty())
        errors.push_back(options.messageTemplate + ": no message bundle with localizations here");
    for (const auto& name : options.leftOut)
        if (name.find('/') != std::string::npos || lprojName(name) == ".lproj" || name.starts_with('.'))
            errors.push_back("--leave-out: " + inQuotes(name) + " is not a localization's name, such as it.lproj");
        else if (!isDirectory(fs::path(options.messageTemplate) / "Contents/Resources" / lprojName(name)))
            errors.push_back("--leave-out: the message template " + options.messageTemplate + " has no localization " +
                             lprojName(name));
    for (const auto& folder : options.localizations)
        if (localizationsIn(folder).empty())
            errors.push_back(folder + ": no localization (a folder such as de.lproj) in it");
    for (const char* program : {"Startwick.exe", "Vendpost.exe"})
        if (!isFile(fs::path(options.windowsPrograms) / program))
            errors.push_back((fs::path(options.windowsPrograms) / program).string() +
                             ": missing (build the Windows programs, or name their folder with --windows-programs)");
    for (const auto& item : options.windowsFiles) {
        std::string name = fs::path(item).filename().string();
        std::string lower;
        for (char c : name)
            lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        if (!fs::exists(item, code))
            errors.push_back(item + ": no such file or folder");
        else if (lower == "inst.ini" || lower == "setup.exe" || lower.starts_with("vps_"))
            errors.push_back(item + ": the press writes the Windows folder's " + name + " itself");
    }
    if (options.setup.empty())
        errors.push_back("--setup: name what setup.exe opens, a file of the Windows folder such as ReadMe.txt");
    for (const auto& line : plan.warnings())
        reporter.warning(line);
    if (!errors.empty()) {
        for (const auto& line : errors)
            reporter.error(line);
        return 1;
    }

    StagingFolder staging(out);
    if (!staging.create(error))
        return fail(error);
    for (const auto& line : staging.leftovers())
        reporter.warning(line);
    reporter.progress("writing the disc in " + staging.path().string());
    DiscSources sources(out.string());
    for (const auto& model : models->models()) {
        sources.entry("MacResources/CDInfo.plist", "[ContainedModel][" + model.name + "]",
                      {models->path(), model.line});
        sources.entry("MacResources/ModelInfo.plist", "[Model][" + model.name + "]", {models->path(), model.line});
    }
    // The built-in language table is the tool's own; an author's table is shown at its lines.
    const std::string appName = fs::path(options.app).filename().string();
    for (std::size_t i = 0; options.languageTable && i < languages->languages().size(); ++i)
        sources.entry(appName + "/Contents/Resources/Documentation.plist",
                      "[FolderInfoArray][" + std::to_string(i) + "]",
                      {*options.languageTable, languages->languages()[i].line});
    Writer writer{options, plan, *languages, reporter, sources, staging.path(), volume, {}};
    fs::path executable;
    bool written = writer.application(executable) &&
                   writer.list("MacResources/CommonResource.plist", plan.commonResource()) &&
                   writer.list("MacResources/CDInfo.plist", plan.cdInfo()) &&
                   writer.list("MacResources/ModelInfo.plist", plan.modelInfo()) && writer.messages() &&
                   writer.documentation() && writer.windows();
    if (!written)
        return fail(writer.error);
    normalizeModes(staging.path(), executable);

    // What the image could not hold as it is, said now with the reason rather than after pressing.
    auto badNames = ImageNames::faultsUnder(
        staging.path().string(), [&](const std::string& relative) { return sources.placeOf(relative, "", 0).file; });
    for (const auto& line : badNames)
        reporter.error(line);
    if (!badNames.empty() && !options.force)
        return fail("the image cannot hold " + std::to_string(badNames.size()) +
                    " of the disc's names; nothing was "
                    "written to " +
                    out.string() + " (--force writes it all the same)");

    reporter.progress("checking the disc");
    auto check = DiscCheckRun::run(staging.path().string(), appName, volume, sources);
    reporter.findings(check);
    std::size_t errorCount = check.count(inspect::Severity::Error);
    if (errorCount > 0 && !options.force)
        return fail("the check found " + std::to_string(errorCount) + " error" + (errorCount == 1 ? "" : "s") +
                    " on the disc; nothing was written to " + out.string() + " (--force writes it all the same)");
    if (!staging.commit(options.replace, error))
        return fail(error);
    std::size_t files = 0;
    std::uintmax_t bytes = 0;
    for (auto it = fs::recursive_directory_iterator(out, code); !code && it != fs::recursive_directory_iterator();
         it.increment(code))
        if (it->is_regular_file(code)) {
            ++files;
            bytes += it->file_size(code);
        }
    reporter.progress("wrote " + out.string() + ": " + std::to_string(files) + " files, " +
                      std::to_string((bytes + 1023) / 1024) + " KiB, " + std::to_string(check.all().size()) +
                      " findings");
    return 0;
}

}
