#include "inspect/diff/DiscComparison.h"

#include "inspect/cli/DiscFolder.h"
#include "inspect/common/Findings.h"
#include "inspect/common/Wording.h"
#include "inspect/diff/DiscDiff.h"
#include "inspect/diff/DiscView.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/VolumeMap.h"

#include "window/session/JsonExport.h"

#include <filesystem>
#include <optional>
#include <ostream>

namespace docshelf::inspect {

namespace {

namespace fs = std::filesystem;

// One disc read on its own: its bundle and volume are set for the reading and
// cleared after, so that the second disc reads nothing of the first.
std::optional<nlohmann::ordered_json> view(const std::string& disc, std::ostream& err) {
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
    std::error_code error;
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
