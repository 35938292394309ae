#include "DiscCheckRun.h"

#include "inspect/check/DiscCheck.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/VolumeMap.h"

#include <filesystem>

namespace docshelf::press {

namespace fs = std::filesystem;

namespace {

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    if (from.empty() || from == to)
        return text;
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

}

inspect::Findings DiscCheckRun::run(const std::string& folder, const std::string& app, const std::string& volume,
                                    const DiscSources& sources) {
    std::error_code code;
    const std::string root = fs::absolute(folder, code).lexically_normal().string();
    foundation::VolumeMap::mapVolume("/Volumes/" + volume, root);
    foundation::Bundle::setMainBundlePath(root + "/" + app);
    auto found =
        inspect::DiscCheck::run(
        {root + "/" + app, root + "/MacResources/CDCommonMessage.bundle", root + "/Windows", root});

    inspect::Findings placed;
    for (inspect::Finding finding : found.all()) {
        if (finding.file == root || finding.file.starts_with(root + "/")) {
            auto place = sources.placeOf(finding.file.substr(std::min(finding.file.size(), root.size() + 1)),
                                         finding.keyPath(), finding.line);
            // At the author's own file (a manual, the models table's line) a list's key path says nothing.
            if (place.file != finding.file)
                finding.keys.clear();
            finding.file = place.file;
            finding.line = place.line;
            finding.column = 0;
        }
        finding.message = replaced(finding.message, root, sources.disc());
        placed.add(std::move(finding));
    }
    return placed;
}

}
