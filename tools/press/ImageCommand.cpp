#include "ImageCommand.h"

#include "DiscCheckRun.h"
#include "FileTree.h"
#include "OutputPlace.h"
#include "PrintedName.h"
#include "StagingFolder.h"
#include "TreeComparison.h"

#include "platform/foundation/BoundedRun.h"
#include "inspect/check/MacExecutable.h"
#include "platform/foundation/PropertyListReader.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>
#include <unordered_set>

namespace docshelf::press {

using foundation::BoundedRun;

namespace fs = std::filesystem;

namespace {

// The first of the names that PATH finds, or empty. Debian's 7zip package
// installs 7zz; p7zip and other systems call it 7z.
std::string onPath(std::initializer_list<const char*> names) {
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/bin:/bin";
    for (const char* name : names) {
        std::size_t start = 0;
        while (start <= folders.size()) {
            std::size_t end = folders.find(':', start);
            if (end == std::string::npos)
                end = folders.size();
            fs::path candidate = fs::path(folders.substr(start, end - start)) / name;
            if (access(candidate.c_str(), X_OK) == 0)
                return candidate.string();
            start = end + 1;
        }
    }
    return "";
}

// The application bundle at the disc's root, or empty.
std::string applicationOf(const fs::path& disc) {
    std::error_code code;
    for (const auto& entry : fs::directory_iterator(disc, code))
        if (entry.is_directory(code) && entry.path().extension() == ".app")
            return entry.path().filename().string();
    return "";
}

// The application's executable, relative to the disc folder.
std::vector<std::string> executablesOf(const fs::path& disc, const std::string& app) {
    auto info = foundation::PropertyListReader::readFile((disc / app / "Contents/Info.plist").string());
    auto name = info.root.objectForKey("CFBundleExecutable");
    if (!name.isNonEmptyString())
        return {};
    return {app + "/Contents/MacOS/" + std::string(name.text())};
}

// What the image will take, near enough: every file in whole 2 KiB sectors,
// and room for the three file systems' directories.
std::uintmax_t estimatedImage(const fs::path& disc) {
    std::uintmax_t bytes = 1024 * 1024;
    std::error_code code;
    for (auto it = fs::recursive_directory_iterator(disc, code); !code && it != fs::recursive_directory_iterator();
         it.increment(code))
        bytes += it->is_regular_file(code) ? (it->file_size(code) + 2047) / 2048 * 2048 + 2048 : 2048;
    return bytes;
}

std::string sizeText(std::uintmax_t bytes) {
    return bytes >= 10 * 1024 * 1024 ? std::to_string(bytes / (1024 * 1024)) + " MiB"
                                     : std::to_string((bytes + 1023) / 1024) + " KiB";
}

}

int ImageCommand::run(const ImageOptions& options, const Reporter& reporter) {
    auto fail = [&](const std::string& line) {
        reporter.error(line);
        return 1;
    };
    fs::path disc = fs::path(options.disc).lexically_normal();
    if (disc.filename().empty())
        disc = disc.parent_path();
    const std::string volume = disc.filename().string();
    std::error_code code;
    if (!fs::is_directory(disc, code))
        return fail(options.disc + ": no disc folder here");
    if (auto clash = OutputPlace::clash(options.image, {{"the disc folder", disc}}); !clash.empty())
        return fail(clash);
    if (fs::exists(fs::symlink_status(options.image, code)) && !options.replace)
        return fail(PrintedName::of(options.image) + " exists; give --replace to replace it");
    if (auto refusal = OutputPlace::unreplaceable(options.image, OutputPlace::Kind::Image); !refusal.empty())
        return fail(refusal);
    if (auto odd = FileTree::firstNotPlain(disc); !odd.empty())
        return fail(odd);
    const std::string xorriso = onPath({"xorriso"});
    const std::string sevenZip = onPath({"7zz", "7z"});
    if (xorriso.empty() || sevenZip.empty())
        return fail(std::string(xorriso.empty() ? "xorriso" : "7-Zip (7zz or 7z)") +
                    " is not installed; scripts/install-deps --for press installs it");

    const std::string app = applicationOf(disc);
    if (app.empty())
        return fail(disc.string() + ": no application bundle (a folder NAME.app) at the disc's root");
    if (!fs::is_regular_file(disc / "autorun.inf", code))
        reporter.warning(disc.string() + ": no autorun.inf at the root; Windows starts nothing when the disc goes in");
    reporter.progress("checking " + disc.string());
    auto check = DiscCheckRun::run(disc.string(), app, volume, DiscSources(disc.string()));
    reporter.findings(check);
    if (auto why = inspect::MacExecutable::whyNot((disc / app).string()); !why.empty())
        reporter.warning(why);
    if (std::size_t errors = check.count(inspect::Severity::Error); errors > 0 && !options.force)
        return fail(disc.string() + ": the check found " + std::to_string(errors) + " error" +
                    (errors == 1 ? "" : "s") + "; not pressed (--force presses it all the same)");

    // The image and the three trees read back from it lie beside the image until it is kept.
    const std::uintmax_t estimate = estimatedImage(disc);
    const std::uintmax_t needed = estimate / 10 * 37;
    fs::path beside = fs::absolute(options.image, code).parent_path();
    if (auto space = fs::space(beside, code); !code && space.available < needed)
        return fail(PrintedName::of(beside.string()) + ": pressing " + PrintedName::of(disc.string()) +
                    " needs about " + sizeText(needed) + " free there (the image of about " + sizeText(estimate) +
                    " and the three trees read back from it); " + sizeText(space.available) + " are free");
    StagingFolder staging(options.image);
    const std::string shownImage = PrintedName::of(options.image);
    std::string error;
    if (!staging.create(error))
        return fail(error);
    for (const auto& line : staging.leftovers())
        reporter.warning(line);
    const fs::path image = staging.path() / "image.iso";
    const auto executables = executablesOf(disc, app);
    std::vector<std::string> arguments{"-abort_on", "FAILURE", "-outdev", image.string(), "-blank", "as_needed",
                                       "-volid", volume, "-joliet", "on", "-rockridge", "on", "-hfsplus", "on",
                                       // Joliet's 64 characters would cut the Windows folder's long names.
                                       "-compliance", "joliet_long_names", "-uid", "0", "-gid", "0", "-map",
                                       fs::absolute(disc).string(), "/"};
    for (const auto& executable : executables) {
        for (const char* word : {"-chmod", "0755"})
            arguments.push_back(word);
        arguments.push_back("/" + executable);
        arguments.push_back("--");
    }
    arguments.push_back("-commit");
    reporter.progress("pressing " + disc.string() + " with xorriso");
    auto pressed = BoundedRun::run(xorriso, arguments, options.limit);
    if (!pressed.succeeded())
        return fail(shownImage + ": " + pressed.failure("xorriso"));
    reporter.progress("wrote the image, " + sizeText(fs::file_size(image, code)) + "; reading it back");
    // 80-minute CD-R: 360,000 sectors of 2 KiB; single-layer DVD±R: 2,295,104 sectors.
    constexpr std::uintmax_t cd = 360000ull * 2048;
    constexpr std::uintmax_t dvd = 2295104ull * 2048;
    if (std::uintmax_t size = fs::file_size(image, code); !code && size > cd)
        reporter.warning(PrintedName::of(options.image) + ": the image, " + sizeText(size) + ", is larger than " +
                         (size > dvd ? "a single-layer DVD holds (4.7 GB); it needs a dual-layer DVD or larger"
                                     : "a CD holds (700 MB); it needs a DVD"));

    // The trees each system reads: Rock Ridge (Linux), Joliet (Windows), HFS+ (the Mac).
    struct Tree {
        const char* name;
        fs::path folder;
        bool keepsModes;
        TreeComparison::Names names;
    };
    const fs::path back = staging.path() / "read-back";
    const Tree trees[] = {{"Rock Ridge", back / "rock-ridge", true, TreeComparison::Names::AsWritten},
                          {"Joliet", back / "joliet", false, TreeComparison::Names::AsWritten},
                          {"HFS+", back / "hfsplus", true, TreeComparison::Names::Decomposed}};
    auto extracted = BoundedRun::run(
        xorriso, {"-osirrox", "on", "-indev", image.string(), "-extract", "/", trees[0].folder.string()},
        options.limit);
    if (extracted.succeeded())
        extracted = BoundedRun::run(xorriso,
                                    {"-osirrox", "on", "-read_fs", "norock", "-indev", image.string(), "-extract", "/",
                                     trees[1].folder.string()},
                                    options.limit);
    if (!extracted.succeeded())
        return fail(shownImage + ": reading the ISO 9660 trees back: " + extracted.failure("xorriso"));
    auto hfs =
        BoundedRun::run(sevenZip, {"x", "-thfs", "-y", "-o" + trees[2].folder.string(), image.string()}, options.limit);
    if (!hfs.succeeded())
        return fail(shownImage + ": reading the HFS+ tree back: " + hfs.failure(sevenZip));
    // 7-Zip puts the HFS+ tree in a folder named as the volume, as a Mac mounts it.
    const fs::path macTree = trees[2].folder / volume;
    if (!fs::is_directory(macTree, code))
        return fail(shownImage + ": the HFS+ volume is not named " + volume);
    auto volumeId = BoundedRun::run(xorriso, {"-indev", image.string(), "-pvd_info"}, options.limit);
    if (volumeId.out().find("Volume Id    : " + volume + "\n") == std::string::npos)
        return fail(shownImage + ": the ISO 9660 volume is not named " + volume);

    for (const auto& tree : trees) {
        fs::path root = &tree == &trees[2] ? macTree : tree.folder;
        auto comparison =
            TreeComparison::compare(disc, root, tree.keepsModes ? executables : std::vector<std::string>{}, tree.names);
        if (!comparison.same()) {
            std::size_t shown = std::min<std::size_t>(comparison.differences().size(), 10);
            for (std::size_t i = 0; i < shown; ++i)
                reporter.error(shownImage + ": " + tree.name +
                               " tree: " + PrintedName::of(comparison.differences()[i]));
            return fail(shownImage + ": the " + tree.name + " tree differs from " + PrintedName::of(disc.string()) +
                        " in " + std::to_string(comparison.differences().size()) + " places; the image is not kept");
        }
        reporter.progress(std::string(tree.name) + " tree: " + std::to_string(comparison.filesCompared()) +
                          " files as in the folder");
    }

    reporter.progress("checking the HFS+ tree as the mounted disc");
    // Shown at the folder's files, which the tree is a copy of; what the
    // folder's check said already is said once.
    auto mounted = DiscCheckRun::run(macTree.string(), app, volume, DiscSources(disc.string()));
    auto said = [](const inspect::Finding& f) { return f.code + '\n' + f.location() + '\n' + f.message; };
    std::unordered_set<std::string> earlier;
    for (const auto& finding : check.all())
        earlier.insert(said(finding));
    inspect::Findings added;
    for (const auto& finding : mounted.all())
        if (!earlier.contains(said(finding)))
            added.add(finding);
    reporter.findings(added);
    const std::size_t folderErrors = check.count(inspect::Severity::Error);
    if (std::size_t errors = mounted.count(inspect::Severity::Error); errors > folderErrors)
        return fail(shownImage + ": the disc read back from the image has " + std::to_string(errors) +
                    " errors, the folder " + std::to_string(folderErrors) + "; the image is not kept");

    std::uintmax_t size = fs::file_size(image, code);
    if (!staging.commit(options.replace, error, "image.iso"))
        return fail(error);
    reporter.progress("wrote " + options.image + ", " + sizeText(size) + ", read back and checked");
    return 0;
}

}
