#include "inspect/check/AppBundleCheck.h"

#include "inspect/common/Wording.h"

#include "platform/foundation/PropertyListReader.h"

#include <algorithm>
#include <filesystem>
#include <vector>

namespace docshelf::inspect {

namespace fs = std::filesystem;

std::optional<AppBundleCheck::Fault> AppBundleCheck::fault(const std::string& bundle) {
    std::error_code error;
    fs::path contents = fs::path(bundle) / "Contents";
    fs::path info = contents / "Info.plist";
    if (!fs::exists(info, error))
        return Fault{bundle, "it has no Contents/Info.plist"};
    if (!fs::is_regular_file(info, error))
        return Fault{info.string(), "Contents/Info.plist is " +
                                        std::string(fs::is_directory(info, error) ? "a folder" : "not a regular file") +
                                        ", not a property list"};
    auto list = foundation::PropertyListReader::readFile(info.string());
    if (!list.root.isDictionary())
        return Fault{info.string(), "Contents/Info.plist cannot be read as a property list with a dictionary at its "
                                    "root"};
    auto executable = list.root.objectForKey("CFBundleExecutable");
    if (!executable.isNonEmptyString())
        return Fault{Findings::keyPath(info.string(), {"CFBundleExecutable"}),
                     "its Info.plist names no program (\"CFBundleExecutable\")"};
    fs::path program = contents / "MacOS" / std::string(executable.text());
    if (!fs::is_regular_file(program, error))
        return Fault{program.string(), "its program " + inQuotes("Contents/MacOS/" + std::string(executable.text())) +
                                           (fs::exists(program, error) ? " is not a regular file" : " is missing")};
    return std::nullopt;
}

void AppBundleCheck::run(const std::string& discFolder, const std::string& app, Findings& findings) {
    std::vector<fs::path> bundles;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(discFolder, error))
        if (entry.path().extension() == ".app" && entry.is_directory(error))
            bundles.push_back(entry.path());
    std::sort(bundles.begin(), bundles.end());
    for (const auto& bundle : bundles)
        if (auto broken = fault(bundle.string()))
            findings.error("app-bundle-broken", broken->location,
                           "application bundle " + inQuotes(bundle.filename().string()) +
                               " cannot start: " + broken->reason + "; a Mac user of this disc gets no window");
    if (bundles.empty())
        findings.warning("app-bundle-missing", discFolder,
                         "the disc folder holds no application bundle (NAME.app); it was checked with " +
                             inQuotes(app) + ", which the disc itself does not carry");
}

}
