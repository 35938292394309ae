#include "inspect/diff/DiscComparison.h"

#include "inspect/cli/DiscFolder.h"
#include "inspect/common/Findings.h"
#include "inspect/common/Wording.h"
#include "inspect/diff/DiscDiff.h"
#include "inspect/diff/DiscView.h"

#include "platform/foundation/BoundedRun.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/VolumeMap.h"

#include "window/session/JsonExport.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <ostream>

namespace docshelf::inspect {

namespace {

namespace fs = std::filesystem;

// An image is read as Linux mounts it, from its Rock Ridge tree, extracted into
// a temporary folder that goes with this object. The tree's folders may be
// read-only, as the image keeps them; they are made writable to be removed.
class ExtractedImage {
public:
    explicit ExtractedImage(const std::string& image) {
        std::string pattern = (fs::temp_directory_path() / "docshelf-diff-XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            error = "no temporary folder to read " + image + " into";
            return;
        }
        root_ = pattern;
        folder = (root_ / "disc").string();
        auto run = foundation::BoundedRun::run("xorriso", {"-osirrox", "on", "-indev", image, "-extract", "/", folder},
                                               std::chrono::minutes(10));
        if (!run.succeeded())
            error = image + ": reading the image's tree: " + run.failure("xorriso");
    }
    ~ExtractedImage() {
        if (root_.empty())
            return;
        std::error_code code;
        for (auto it = fs::recursive_directory_iterator(root_, code); !code && it != fs::recursive_directory_iterator();
             it.increment(code))
            if (it->is_directory(code) && !it->is_symlink(code))
                fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, code);
        fs::remove_all(root_, code);
    }
    ExtractedImage(const ExtractedImage&) = delete;
    ExtractedImage& operator=(const ExtractedImage&) = delete;

    std::string folder;
    std::string error;

private:
    fs::path root_;
};

// One disc read on its own: its bundle and volume are set for the reading and
// cleared after, so that the second disc reads nothing of the first.
std::optional<nlohmann::ordered_json> view(const std::string& given, std::ostream& err) {
    std::error_code error;
    std::optional<ExtractedImage> image;
    if (fs::is_regular_file(given, error)) {
        image.emplace(given);
        if (!image->error.empty()) {
            err << "docshelf-inspect: " << Findings::oneLine(image->error) << "\n";
            return std::nullopt;
        }
    }
    const std::string& disc = image ? image->folder : given;
    CommandLine command;
    command.command = "diff";
    command.disc = disc;
    auto folder = DiscFolder::resolve(command);
    if (!folder.error.empty()) {
        err << "docshelf-inspect: " << Findings::oneLine(folder.error) << "\n";
        return std::nullopt;
    }
    if (!folder.appNote.empty())
        err << "docshelf-inspect: note: " << Findings::oneLine(folder.appNote) << "\n";
    std::optional<std::string> windows;
    if (fs::is_directory(fs::path(disc) / "Windows", error))
        windows = (fs::path(disc) / "Windows").string();
    foundation::Bundle::setMainBundlePath(folder.app);
    auto seen = DiscView::read(folder.messageBundle, windows);
    foundation::Bundle::setMainBundlePath(std::nullopt);
    foundation::VolumeMap::clear();
    return seen;
}

}

int DiscComparison::run(const std::string& before, const std::string& after, bool json, std::ostream& out,
                        std::ostream& err) {
    auto old = view(before, err);
    if (!old)
        return 2;
    auto now = view(after, err);
    if (!now)
        return 2;
    auto changes = DiscDiff::compare(*old, *now);
    if (json)
        out << render(DiscDiff::json(changes));
    else
        out << DiscDiff::text(changes);
    err << "docshelf-inspect: " << (changes.empty() ? "the discs agree" : counted(changes.size(), "difference"))
        << "\n";
    if (!out.good())
        return 2;
    return changes.empty() ? 0 : 1;
}

}
